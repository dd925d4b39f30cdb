#include <gtest/gtest.h>

#include "data/client_dataset.h"
#include "data/formats.h"

namespace {

struct FieldTest : ::testing::Test {
  TClientDataSet ds{"cdsValores"};
  TField& name = ds.AddField("NMFANTCLIE", FieldType::String, 5);
  TField& flag = ds.AddField("IDCONTPROCESDIST", FieldType::FixedString, 3);
  TField& value = ds.AddField("VRORIGREC", FieldType::Float);
  TField& perc = ds.AddField("VRPERCMULTA", FieldType::Float);
  TField& due = ds.AddField("DTVENCPARCELA", FieldType::DateTime);
  TField& count = ds.AddField("NRPARCELAS", FieldType::Integer);

  void SetUp() override {
    value.SetDisplayFormat("#,##0.00").SetEditFormat("0.00");
    perc.SetDisplayFormat("#0.00 %").SetEditFormat("#0.00");
    ds.CreateDataSet();
    ds.Append();
  }
};

}  // namespace

TEST_F(FieldTest, TextIsCutToItsMaximumAndFixedTextPadded) {
  name.SetAsString("ABCDEFGH");
  EXPECT_EQ(name.AsString(), "ABCDE");
  name.SetAsString("Ação!!");  // lengths count characters, not bytes
  EXPECT_EQ(name.AsString(), "Ação!");
  flag.SetAsString("S");
  EXPECT_EQ(flag.AsString(), "S  ");
  flag.SetAsString("ABCDE");
  EXPECT_EQ(flag.AsString(), "ABC");
}

TEST_F(FieldTest, NumbersShowTheirDisplayAndEditFormats) {
  value.SetAsFloat(1234.5);
  perc.SetAsFloat(12.5);
  EXPECT_EQ(value.DisplayText(), "1.234,50");
  EXPECT_EQ(value.Text(), "1234,50");
  EXPECT_EQ(perc.DisplayText(), "12,50 %");
  EXPECT_EQ(perc.Text(), "12,50");
  value.SetDisplayFormat("").SetEditFormat("");
  EXPECT_EQ(value.DisplayText(), "1234,5");
  value.SetDisplayFormat("#,##0.00");
  EXPECT_EQ(value.Text(), "1.234,50");  // no edit format: the display format serves editing too
  value.Clear();
  EXPECT_EQ(value.DisplayText(), "");
  EXPECT_TRUE(value.IsNull());
  EXPECT_EQ(value.AsFloat(), 0.0);
}

TEST_F(FieldTest, DatesShowDayMonthYearAndTheTimeOnlyWhenThereIsOne) {
  due.SetAsDateTime(EncodeDate(2027, 1, 5));
  EXPECT_EQ(due.DisplayText(), "05/01/2027");
  EXPECT_EQ(due.AsString(), "05/01/2027");
  due.SetAsDateTime(DateTime{EncodeDate(2027, 1, 5).days + 0.5});
  EXPECT_EQ(due.DisplayText(), "05/01/2027 12:00:00");
}

TEST_F(FieldTest, TypedTextIsParsedForTheFieldsType) {
  value.SetText("1234,56");
  EXPECT_DOUBLE_EQ(value.AsFloat(), 1234.56);
  due.SetText("5/1/2027");
  EXPECT_EQ(due.AsDateTime(), EncodeDate(2027, 1, 5));
  count.SetText("12");
  EXPECT_EQ(count.AsInteger(), 12);
  value.SetText("");
  EXPECT_TRUE(value.IsNull());
  EXPECT_THROW(value.SetText("12abc"), Exception);
  EXPECT_THROW(due.SetText("31/02/2027"), Exception);
  EXPECT_THROW(count.SetText("1,5"), Exception);
  EXPECT_THROW(count.SetAsVariant(Variant(std::int64_t{1} << 40)), Exception);
}

TEST_F(FieldTest, TextHandlersReplaceTheDefaultConversions) {
  flag.SetAsString("S");
  std::vector<bool> asked;
  flag.OnGetText = [&](TField& sender, std::string& text, bool displayText) {
    asked.push_back(displayText);
    text = sender.AsString() == "S  " ? "Sim" : "Não";
  };
  EXPECT_EQ(flag.DisplayText(), "Sim");
  EXPECT_EQ(flag.Text(), "Sim");
  EXPECT_EQ(asked, (std::vector<bool>{true, false}));
  due.OnSetText = [](TField& sender, const std::string& text) { sender.SetAsString(text + "/2027"); };
  due.SetText("05/01");
  EXPECT_EQ(due.AsDateTime(), EncodeDate(2027, 1, 5));
}

TEST_F(FieldTest, WritingNeedsEditOrInsertButReadOnlyOnlyStopsControls) {
  perc.SetReadOnly(true);
  perc.SetAsFloat(3);  // code may write a read-only field
  ds.Post();
  EXPECT_EQ(perc.AsFloat(), 3.0);
  try {
    perc.SetAsFloat(4);
    FAIL() << "wrote a browsing record";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("cdsValores"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("edição"), std::string::npos);
  }
  EXPECT_EQ(perc.AsFloat(), 3.0);
}

TEST_F(FieldTest, LabelsFallBackToTheFieldName) {
  EXPECT_EQ(value.DisplayLabel(), "VRORIGREC");
  value.SetDisplayLabel("Valor Negociado");
  EXPECT_EQ(value.DisplayLabel(), "Valor Negociado");
  EXPECT_EQ(value.Alignment(), taRightJustify);
  EXPECT_EQ(name.Alignment(), taLeftJustify);
}

TEST(ClosedDataSet, ReadsAsEmpty) {
  TClientDataSet declared("cdsContratante");
  declared.AddField("CDCLIENTE", FieldType::String, 21);
  EXPECT_TRUE(declared.IsEmpty());
  EXPECT_EQ(declared.RecordCount(), 0);
  EXPECT_EQ(declared.FieldByName("CDCLIENTE").AsString(), "");
  EXPECT_TRUE(declared.Eof());
  EXPECT_THROW(declared.FieldByName("NOPE"), Exception);

  TClientDataSet loose("cdsNewContrRepete");
  EXPECT_EQ(loose.FieldByName("CDCLIENTE").AsString(), "");
  EXPECT_EQ(loose.FieldByName("VRATUAREC").AsFloat(), 0.0);
  EXPECT_THROW(loose.FieldByName("CDCLIENTE").SetAsString("x"), Exception);
  EXPECT_THROW(declared.First(), Exception);
}
