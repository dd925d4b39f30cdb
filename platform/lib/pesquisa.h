#pragma once
// Unit Pesquisa: the pick list over the rows of a data source's dataset.

#include <string>

class TDataSource;

// `caption` is the list's title, "|" and the text for an empty list
// ("Operador|Não há operador cadastrado."). An empty (or closed) dataset
// shows that text as an error, when `reportEmpty` is true, and gives false.
// Otherwise the UI service offers the rows; true when the user picked one,
// which is then the current record. `multiple` is kept for the callers'
// sake: the list always picks a single row.
bool Pesquisar(TDataSource& dataSource, const std::string& caption, bool multiple, bool reportEmpty);

// The two halves of a pick-list caption.
struct PesquisaCaption {
  std::string title;
  std::string emptyText;
};
PesquisaCaption SplitPesquisaCaption(const std::string& caption);
