#include "workspace/field_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace workspace {
namespace {

const FieldDef* FindField(const DatasetDef& dataset, std::string_view name) {
  for (const FieldDef& f : dataset.fields) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

TEST(FieldTables, FieldNamesAreUniqueAndTextFieldsHaveASize) {
  std::set<std::string_view> datasets;
  for (const DatasetDef& dataset : MainScreenDatasets()) {
    EXPECT_TRUE(datasets.insert(dataset.name).second) << dataset.name;
    std::set<std::string_view> names;
    for (const FieldDef& f : dataset.fields) {
      EXPECT_TRUE(names.insert(f.name).second) << dataset.name << "." << f.name;
      const bool text = f.type == FieldType::Text || f.type == FieldType::FixedText;
      EXPECT_EQ(text, f.size > 0) << dataset.name << "." << f.name;
    }
  }
}

TEST(FieldTables, EveryGridColumnIsAFieldOfItsDataset) {
  const std::pair<std::string_view, std::string_view> bindings[] = {
      {"dbgPadrao", "cdsContratante"},
      {"dbgContasGeradas", "cdsContas"},
      {"dbgContaPagar", "cdsContasPagar"},
  };
  for (const auto& [gridName, datasetName] : bindings) {
    const GridDef* grid = FindGrid(gridName);
    const DatasetDef* dataset = FindDataset(datasetName);
    ASSERT_NE(grid, nullptr) << gridName;
    ASSERT_NE(dataset, nullptr) << datasetName;
    EXPECT_EQ(grid->columns.size(), 7u);
    for (const ColumnDef& column : grid->columns) {
      EXPECT_NE(FindField(*dataset, column.field), nullptr) << gridName << " " << column.field;
    }
  }
}

TEST(FieldTables, OnlyThePayablesGridEditsAndTheSubstituteColumnsStartReadOnly) {
  EXPECT_FALSE(FindGrid("dbgContasGeradas")->options.editing);
  EXPECT_TRUE(FindGrid("dbgContaPagar")->options.editing);
  EXPECT_FALSE(FindGrid("dbgPadrao")->ownOptions);
  for (const ColumnDef& column : FindGrid("dbgPadrao")->columns) {
    const bool substitute = column.field == "NRINSJURCLIESUB" || column.field == "NMFANTSUB";
    EXPECT_EQ(column.readOnly, substitute) << column.field;
  }
}

TEST(FieldTables, ValuesFormatsAndReadOnlyFields) {
  const DatasetDef* values = FindDataset("cdsValores");
  ASSERT_NE(values, nullptr);
  EXPECT_EQ(values->fields.size(), 20u);
  const FieldDef* fine = FindField(*values, "VRPERCMULTA");
  ASSERT_NE(fine, nullptr);
  EXPECT_EQ(fine->displayFormat, "#0.00 %");
  EXPECT_TRUE(fine->readOnly);
  EXPECT_FALSE(FindField(*values, "VRORIGREC")->readOnly);
  EXPECT_TRUE(FindField(*values, "VRORIGRECNOEDIT")->readOnly);
  EXPECT_EQ(FindDataset("cdsNewContrRepete"), nullptr);  // takes its packet's fields
}

TEST(FieldTables, TheBranchStatementsAreTheFixedLines) {
  const std::vector<std::string_view> all(std::begin(kQryFilialSql), std::end(kQryFilialSql));
  const std::vector<std::string_view> one(std::begin(kQryPesqFilialSql), std::end(kQryPesqFilialSql));
  EXPECT_EQ(all, (std::vector<std::string_view>{"SELECT CDFILIAL, NMFILIAL", "  FROM FILIAL", " ORDER BY CDFILIAL"}));
  EXPECT_EQ(one, (std::vector<std::string_view>{"SELECT CDFILIAL, NMFILIAL", "  FROM FILIAL",
                                                " WHERE CDFILIAL = :P_CDFILIAL"}));
  EXPECT_NE(one.back().find(std::string(":") + std::string(kQryPesqFilialParam)), std::string_view::npos);
}

}  // namespace
}  // namespace workspace
