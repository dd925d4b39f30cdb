#include "lib/grid_text.h"

#include <algorithm>
#include <cctype>

#include "data/client_dataset.h"
#include "ui/db_grid.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

bool EditingColumnOf(const TDBGrid& grid, const std::string& fieldName) {
  if (!grid.EditorOpen()) return false;
  const TColumn* column = grid.SelectedColumn();
  return column && SameName(column->FieldName(), fieldName);
}

std::string NumberReady(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '.' && c != ' ') out += c;
  return out;
}

}  // namespace

std::string GridText(const TDBGrid& grid, const std::string& fieldName, bool forNumber) {
  std::string text;
  if (EditingColumnOf(grid, fieldName)) {
    text = grid.EditorText();
  } else {
    TClientDataSet* data = grid.DataSet();
    if (!data) throw Exception("A grade " + grid.Name() + " não tem dados para ler o campo " + fieldName + ".");
    text = data->FieldByName(fieldName).Text();
  }
  return forNumber ? NumberReady(text) : text;
}

int IndiceCol(const TDBGrid& grid, const std::string& fieldName) { return grid.ColumnIndexOf(fieldName); }
