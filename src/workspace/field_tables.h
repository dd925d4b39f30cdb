#pragma once
// The shape of every dataset of the main screen and the column lists of its
// three grids, as constant tables. The form applies them to its datasets and
// grids when it is built; the server's packets must carry every field listed.

#include <span>
#include <string_view>

#include "workspace/colours.h"

namespace workspace {

enum class FieldType { Text, FixedText, Float, DateTime, Integer };

struct FieldDef {
  std::string_view name = {};
  FieldType type = FieldType::Text;
  int size = 0;  // maximum (or fixed) length of text fields; 0 otherwise
  std::string_view label = {};  // empty: the field name is shown
  bool visible = true;
  std::string_view displayFormat = {};
  std::string_view editFormat = {};
  bool readOnly = false;
  std::string_view editMask = {};
};

struct DatasetDef {
  std::string_view name = {};
  std::span<const FieldDef> fields = {};
};

// Every dataset of the main screen with a fixed field list (cdsNewContrRepete
// takes whatever its packet holds and is not listed).
std::span<const DatasetDef> MainScreenDatasets();

// The dataset named `name`, or nullptr.
const DatasetDef* FindDataset(std::string_view name);

// The two branch statements on the host's database, one line each.
inline constexpr std::string_view kQryFilialSql[] = {
    "SELECT CDFILIAL, NMFILIAL", "  FROM FILIAL", " ORDER BY CDFILIAL"};
inline constexpr std::string_view kQryPesqFilialSql[] = {
    "SELECT CDFILIAL, NMFILIAL", "  FROM FILIAL", " WHERE CDFILIAL = :P_CDFILIAL"};
inline constexpr std::string_view kQryPesqFilialParam = "P_CDFILIAL";

struct ColumnDef {
  std::string_view field = {};
  int width = 0;  // 0: the grid's default width
  std::string_view title = {};  // empty: the field's label
  bool readOnly = false;
};

struct GridOptions {
  bool titles = true;
  bool columnResize = true;
  bool columnLines = true;
  bool rowLines = true;
  bool tabs = true;
  bool confirmDelete = true;
  bool cancelOnExit = true;
  bool editing = false;
};

struct GridDef {
  std::string_view name = {};
  std::string_view dataSource = {};
  std::span<const ColumnDef> columns = {};
  // False for dbgPadrao: it keeps the base form's options; editing is added
  // only while a substitute is typed.
  bool ownOptions = true;
  GridOptions options = {};
  Rgb background = kInfoBk;
};

std::span<const GridDef> MainScreenGrids();
const GridDef* FindGrid(std::string_view name);

}  // namespace workspace
