// The list of parties and the account views on the demo budget: reloads and
// relocation, display texts, drawing, sorting and keys.

#include <algorithm>
#include <cctype>
#include <regex>
#include <set>

#include "demo_server.h"
#include "lib/grid_text.h"

namespace {

using testing_support::ScreenTest;

std::string Field(const TClientDataSet& d, const char* name) { return d.FieldByName(name).AsString(); }

// Every font colour the grid draws in its first column.
std::set<TColor> RowColours(TDBGrid& grid) {
  std::set<TColor> colours;
  for (int row = 1; row <= grid.RowCount(); ++row) colours.insert(grid.CellStyle(row, 0).font_color);
  return colours;
}

std::vector<std::string> DisplayTexts(TClientDataSet& d, const char* field) {
  std::vector<std::string> out;
  for (d.First(); !d.Eof(); d.Next()) out.push_back(d.FieldByName(field).DisplayText());
  return out;
}

TEST_F(ScreenTest, LoadingTheListLoadsTheFirstPartysAccounts) {
  TfrmDistrato& f = Load("101");
  ASSERT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(f.cdsContratante.RecNo(), 1);
  EXPECT_TRUE(f.cdsContas.Active());
  EXPECT_TRUE(f.cdsContasPagar.Active());
  EXPECT_EQ(f.dbtNome.Caption(), Field(f.cdsContratante, "NMFANTCLIE"));
}

TEST_F(ScreenTest, MovingToAnotherPartyLoadsItsAccountsAndSettledCount) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Gabriel Almeida Rocha");
  EXPECT_TRUE(f.cdsContas.IsEmpty());  // launched, no accounts yet
  EXPECT_EQ(inCtBaixadas, 0);
  GoTo(f, "Ana Paula Ferreira");
  EXPECT_FALSE(f.cdsContas.IsEmpty());
  EXPECT_GE(inCtBaixadas, 1);
  EXPECT_FALSE(f.dbgPadrao.HasOption(dgEditing));
}

TEST_F(ScreenTest, LeavingAndReenteringTheFilterReloadsFromTheFirstParty) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Carla Souza Martins");
  f.edtOrcamento.UserSetFocus();
  EXPECT_FALSE(f.cdsContratante.Active());
  f.dbgPadrao.UserSetFocus();
  ASSERT_TRUE(f.cdsContratante.Active());
  EXPECT_EQ(f.cdsContratante.RecNo(), 1);
}

TEST_F(ScreenTest, CancellingReloadsAndKeepsTheCurrentParty) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Carla Souza Martins");
  boCancela = true;
  f.medCdReduCont.SetText("001");
  f.sbtCancelar.Click();
  EXPECT_EQ(Field(f.cdsContratante, "NMFANTCLIE"), "Carla Souza Martins");
  EXPECT_FALSE(boCancela);
  EXPECT_EQ(f.medCdReduCont.Text(), "");
  const int col = IndiceCol(f.dbgPadrao, "NRINSJURCLIESUB");
  ASSERT_GE(col, 0);
  EXPECT_TRUE(f.dbgPadrao.Columns(col).ReadOnly());
  EXPECT_EQ(f.dbgPadrao.Columns(col).ButtonStyle(), cbsNone);
}

TEST_F(ScreenTest, SituationsShowTheirTexts) {
  TfrmDistrato& f = Load("101");
  const std::pair<const char*, const char*> cases[] = {{"Ana Paula Ferreira", "Conta Gerada"},
                                                       {"Carla Souza Martins", "Cancelado"},
                                                       {"Gabriel Almeida Rocha", "Lançado"},
                                                       {"Mariana Gomes Freitas", "Devolvido"}};
  for (const auto& [name, text] : cases) {
    GoTo(f, name);
    EXPECT_EQ(f.cdsContratante.FieldByName("IDSITUCONTOREV").DisplayText(), text) << name;
  }
}

TEST_F(ScreenTest, RegistrationNumbersAreShownThroughThePersonTypesMask) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Ana Paula Ferreira");
  ASSERT_EQ(Field(f.cdsContratante, "IDTPIJURCLIE"), "F");
  const std::string shown = f.cdsContratante.FieldByName("NRINSJURCLIE").DisplayText();
  EXPECT_TRUE(std::regex_match(shown, std::regex(R"(\d{3}\.\d{3}\.\d{3}-\d{2})"))) << shown;
  GoTo(f, "Eduarda Lima Santos");
  const std::string substitute = f.cdsContratante.FieldByName("NRINSJURCLIESUB").DisplayText();
  EXPECT_TRUE(std::regex_match(substitute, std::regex(R"(\d{3}\.\d{3}\.\d{3}-\d{2})"))) << substitute;
}

TEST_F(ScreenTest, ReceivableTextsFollowRenegotiationAndPledge) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Juliana Barbosa Teixeira");
  const std::vector<std::string> texts = DisplayTexts(f.cdsContas, "IDSTATREC");
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Renegociado"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Caucionada"), texts.end());
}

TEST_F(ScreenTest, PartiesAreDrawnByTheirRescissionState) {
  TfrmDistrato& f = Load("101");
  const int valueCol = IndiceCol(f.dbgPadrao, "VRRECECONTOREV");
  ASSERT_GE(valueCol, 0);
  auto style = [&](const char* name, int col = 1) {
    GoTo(f, name);
    const int row = f.cdsContratante.RecNo();
    f.cdsContratante.First();  // draw it as another row than the current one
    return f.dbgPadrao.CellStyle(row, col);
  };
  EXPECT_EQ(style("Carla Souza Martins").font_color, clRed);
  EXPECT_EQ(style("Daniel Oliveira Ramos").font_color, clOlive);
  EXPECT_EQ(style("Eduarda Lima Santos").font_color, RGB(128, 128, 128));
  EXPECT_EQ(style("Leonardo Moreira Cunha").font_color, RGB(128, 128, 128));
  EXPECT_TRUE(style("Juliana Barbosa Teixeira").bold);
  EXPECT_FALSE(style("Ana Paula Ferreira").bold);
  const TCellStyle value = style("Ana Paula Ferreira", valueCol);
  EXPECT_EQ(value.alignment, taRightJustify);
  EXPECT_EQ(value.offset_x, 3);
  EXPECT_EQ(value.offset_y, 3);
  EXPECT_EQ(value.background, clInfoBk);
  EXPECT_NE(value.text.find(','), std::string::npos) << value.text;
}

TEST_F(ScreenTest, AccountsAreDrawnByTheirOrigin) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Daniel Oliveira Ramos");
  std::set<TColor> colours = RowColours(f.dbgContasGeradas);
  EXPECT_TRUE(colours.count(clBlue)) << "boleto emitted for a rescission account";
  EXPECT_TRUE(colours.count(clPurple)) << "rescission account";
  GoTo(f, "Juliana Barbosa Teixeira");
  EXPECT_TRUE(RowColours(f.dbgContasGeradas).count(clTeal));
  GoTo(f, "Helena Carvalho Dias");
  EXPECT_TRUE(RowColours(f.dbgContasGeradas).count(clFuchsia));
  GoTo(f, "Gabriel Almeida Rocha");
  EXPECT_EQ(f.dbgContasGeradas.RowCount(), 0);
}

TEST_F(ScreenTest, DeleteChangesNothingInTheAccountGrids) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Ana Paula Ferreira");
  const int before = f.cdsContas.RecordCount();
  f.dbgContasGeradas.UserSetFocus();
  EXPECT_EQ(f.dbgContasGeradas.UserKeyDown(VK_DELETE), 0);
  EXPECT_EQ(f.cdsContas.RecordCount(), before);
  f.dbgContaPagar.UserSetFocus();
  EXPECT_EQ(f.dbgContaPagar.UserKeyDown(VK_DELETE), 0);
}

TEST_F(ScreenTest, ATitleClickOrdersTheAccountsByThatColumn) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Juliana Barbosa Teixeira");
  const int col = IndiceCol(f.dbgContasGeradas, "VRATUAREC");
  ASSERT_GE(col, 0);
  f.dbgContasGeradas.UserTitleClick(col);
  EXPECT_EQ(f.cdsContas.IndexFieldNames(), "VRATUAREC");
  double last = -1e300;
  for (f.cdsContas.First(); !f.cdsContas.Eof(); f.cdsContas.Next()) {
    EXPECT_GE(f.cdsContas.FieldByName("VRATUAREC").AsFloat(), last);
    last = f.cdsContas.FieldByName("VRATUAREC").AsFloat();
  }
  f.dbgPadrao.UserTitleClick(IndiceCol(f.dbgPadrao, "NMFANTCLIE"));
  EXPECT_EQ(f.cdsContratante.IndexFieldNames(), "NMFANTCLIE");
}

TEST_F(ScreenTest, TheProcessLabelShowsTheRescissionTypeInLowerCase) {
  TfrmDistrato& f = Load("103");
  bool sawTotal = false;
  for (f.cdsContratante.First(); !f.cdsContratante.Eof(); f.cdsContratante.Next()) {
    std::string expected = Field(f.cdsContratante, "IDTPDISTRATOREALI");
    std::transform(expected.begin(), expected.end(), expected.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_EQ(f.lblProcesso.Caption(), expected);
    sawTotal = sawTotal || expected == "total";
  }
  EXPECT_TRUE(sawTotal);
}

}  // namespace

namespace {

TEST_F(ScreenTest, MovingInTheListAbandonsASubstituteBeingTyped) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Igor Nascimento Pires");
  f.cdsContratante.Edit();
  f.dbgPadrao.IncludeOptions(dgEditing);
  boCancela = true;
  f.cdsContratanteAfterScroll(f.cdsContratante);
  EXPECT_EQ(f.cdsContratante.State(), dsBrowse);
  EXPECT_FALSE(boCancela);
  EXPECT_FALSE(f.dbgPadrao.HasOption(dgEditing));
  EXPECT_EQ(Field(f.cdsContratante, "NMFANTCLIE"), "Igor Nascimento Pires");
}

TEST_F(ScreenTest, SearchOpensTheFindDialogOfTheFocusedGrid) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Ana Paula Ferreira");
  f.dbgContasGeradas.UserSetFocus();
  ui.Clear();
  f.sbtProcurar.Click();
  EXPECT_EQ(ui.EventsOf(ScriptedUi::EventKind::Find).size(), 1u);
  f.edtOrcamento.SetFocus();
  ui.Clear();
  f.sbtProcurar.Click();
  EXPECT_TRUE(ui.EventsOf(ScriptedUi::EventKind::Find).empty());
}

}  // namespace
