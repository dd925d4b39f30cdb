#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/data_source.h"
#include "lib/btn_pesquisa.h"
#include "lib/pesquisa.h"
#include "lib/procurar.h"
#include "scripted_test.h"
#include "ui/edit.h"

namespace {

class PesquisaTest : public ScriptedTest {
 protected:
  void SetUp() override {
    ScriptedTest::SetUp();
    data.AddField("CDFILIAL", FieldType::String, 4);
    data.AddField("NMFILIAL", FieldType::String, 40);
  }
  void Fill() {
    data.CreateDataSet();
    for (const char* code : {"0001", "0002", "0003"}) {
      data.Append();
      data.FieldByName("CDFILIAL").SetAsString(code);
      data.FieldByName("NMFILIAL").SetAsString(std::string("Filial ") + code);
      data.Post();
    }
    data.First();
  }

  TClientDataSet data{"cdsFilial"};
  TDataSource source{"dtsPesqFilial", &data};
};

TEST_F(PesquisaTest, CaptionIsTitleBarEmptyText) {
  Fill();
  ui.AnswerPickRow(2);
  EXPECT_TRUE(Pesquisar(source, "Operador|Não há operador cadastrado.", false, true));
  ASSERT_EQ(ui.EventsOf(ScriptedUi::EventKind::PickList).size(), 1u);
  EXPECT_EQ(ui.EventsOf(ScriptedUi::EventKind::PickList)[0].text, "Operador");
  EXPECT_EQ(data.FieldByName("CDFILIAL").AsString(), "0002");

  const PesquisaCaption parts = SplitPesquisaCaption("Filial|Não há filial cadastrada.");
  EXPECT_EQ(parts.title, "Filial");
  EXPECT_EQ(parts.emptyText, "Não há filial cadastrada.");
  EXPECT_EQ(SplitPesquisaCaption("Filial").title, "Filial");
}

TEST_F(PesquisaTest, EmptyListShowsTheEmptyTextAsErrorAndReturnsFalse) {
  data.CreateDataSet();
  EXPECT_FALSE(Pesquisar(source, "Operador|Não há operador cadastrado.", false, true));
  ASSERT_EQ(ui.Events().size(), 1u);
  EXPECT_EQ(ui.Events()[0].kind, ScriptedUi::EventKind::Message);
  EXPECT_EQ(ui.Events()[0].text, "Não há operador cadastrado.");
  EXPECT_EQ(ui.Events()[0].type, mtError);
}

TEST_F(PesquisaTest, DeclinedPickLeavesTheRowWhereItWas) {
  Fill();
  ui.DeclinePick();
  EXPECT_FALSE(Pesquisar(source, "Filial|x", false, true));
  EXPECT_EQ(data.RecNo(), 1);
}

TEST_F(PesquisaTest, ProcuraOpensTheFindDialogOnAnOpenDatasetOnly) {
  Procura(data);
  EXPECT_TRUE(ui.EventsOf(ScriptedUi::EventKind::Find).empty());
  Fill();
  ui.AnswerFind([](TClientDataSet& d) { d.Locate("CDFILIAL", Variant(std::string("0003"))); });
  Procura(data);
  EXPECT_EQ(ui.EventsOf(ScriptedUi::EventKind::Find).size(), 1u);
  EXPECT_EQ(data.RecNo(), 3);
}

class BtnPesquisaTest : public PesquisaTest {
 protected:
  void SetUp() override {
    PesquisaTest::SetUp();
    button.SetAssociate(&edit);
    button.SetTitle("Filial");
    button.SetDataSource(&source);
    button.SetEmptyError("Não há filial cadastrada.");
    button.OnBeforePesq = [this](TComponent* sender, bool& proceed) {
      log.push_back(proceed ? "before:true" : "before:false");
      EXPECT_EQ(sender, &button);
      proceed = proceed && !refuse;
    };
    button.OnAfterPesq = [this](TComponent*) {
      log.push_back("after:" + data.FieldByName("CDFILIAL").AsString());
      button.Associate()->SetText(data.FieldByName("CDFILIAL").AsString());
    };
  }

  TEdit edit;
  TBtnPesquisa button;
  std::vector<std::string> log;
  bool refuse = false;
};

TEST_F(BtnPesquisaTest, BeforeSearchRunsFirstThenThePickedRowIsCurrentForAfterSearch) {
  Fill();
  ui.AnswerPick([this](TClientDataSet& d) {
    log.push_back("pick");
    d.SetRecNo(3);
    return true;
  });
  button.Click();
  EXPECT_EQ(log, (std::vector<std::string>{"before:true", "pick", "after:0003"}));
  EXPECT_EQ(edit.Text(), "0003");
  EXPECT_EQ(ui.EventsOf(ScriptedUi::EventKind::PickList)[0].text, "Filial");
}

TEST_F(BtnPesquisaTest, ClosedDatasetIsOpenedBeforeTheList) {
  data.BeforeOpen = [this](TClientDataSet&) { log.push_back("open"); };
  data.AfterOpen = [](TClientDataSet& d) {
    for (const char* code : {"0007", "0008"}) {
      d.Append();
      d.FieldByName("CDFILIAL").SetAsString(code);
      d.Post();
    }
    d.First();
  };
  ui.AnswerPickRow(2);
  button.Click();
  EXPECT_TRUE(data.Active());
  EXPECT_EQ(log, (std::vector<std::string>{"before:true", "open", "after:0008"}));
}

TEST_F(BtnPesquisaTest, EmptyDatasetReportsEmptyErrorAndSkipsAfterSearch) {
  button.Click();  // closed and nothing loads it: empty once opened
  EXPECT_EQ(log, (std::vector<std::string>{"before:true"}));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0], "Não há filial cadastrada.");
  EXPECT_EQ(ui.EventsOf(ScriptedUi::EventKind::Message)[0].type, mtError);
  EXPECT_TRUE(ui.EventsOf(ScriptedUi::EventKind::PickList).empty());
  EXPECT_EQ(edit.Text(), "");
}

TEST_F(BtnPesquisaTest, CancelledPickChangesNothing) {
  Fill();
  edit.SetText("0001");
  ui.DeclinePick();
  button.Click();
  EXPECT_EQ(log, (std::vector<std::string>{"before:true"}));
  EXPECT_EQ(edit.Text(), "0001");
  EXPECT_EQ(data.RecNo(), 1);
}

TEST_F(BtnPesquisaTest, BeforeSearchCanStopIt) {
  refuse = true;
  button.Click();
  EXPECT_EQ(log, (std::vector<std::string>{"before:true"}));
  EXPECT_FALSE(data.Active());
  EXPECT_TRUE(ui.Events().empty());
}

TEST_F(BtnPesquisaTest, WithoutDataSourceTheClickFailsClearly) {
  button.SetDataSource(nullptr);
  EXPECT_THROW(button.Click(), Exception);
}

}  // namespace
