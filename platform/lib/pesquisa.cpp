#include "lib/pesquisa.h"

#include "data/data_source.h"
#include "lib/mens_erro.h"
#include "ui/ui_service.h"

namespace {
// Said when the caller gave no text of its own for an empty list.
const char* const kNoRows = "Nenhum registro encontrado.";
}  // namespace

PesquisaCaption SplitPesquisaCaption(const std::string& caption) {
  const std::size_t bar = caption.find('|');
  if (bar == std::string::npos) return {caption, kNoRows};
  PesquisaCaption parts{caption.substr(0, bar), caption.substr(bar + 1)};
  if (parts.emptyText.empty()) parts.emptyText = kNoRows;
  return parts;
}

bool Pesquisar(TDataSource& dataSource, const std::string& caption, bool /*multiple*/, bool reportEmpty) {
  TClientDataSet* data = dataSource.DataSet();
  if (!data) throw Exception("A pesquisa " + dataSource.Name() + " não tem dados para mostrar.");
  const PesquisaCaption parts = SplitPesquisaCaption(caption);
  if (data->IsEmpty()) {
    if (reportEmpty) MensErro(parts.emptyText, false);
    return false;
  }
  return Ui().PickList(*data, parts.title, parts.emptyText);
}
