// The partial rescission on the server: the pricing rules alone, then
// GetContratRepetSeq, ConfirmaValores and Distrato against a demo database
// of each test's own, since Distrato writes.

#include <gtest/gtest.h>

#include "methods/rescission_rules.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "test_support.h"

namespace {

// --- pricing rules ---

const std::vector<FineBand> kBands = {{0, 10, 10}, {10, 30, 15}, {30, 50, 20}, {50, 70, 25}, {70, 100.01, 30}};

TEST(RescissionRules, TheBandHoldsItsLowerBoundAndNotItsUpper) {
  EXPECT_EQ(FinePercentFor(kBands, 0), 10);
  EXPECT_EQ(FinePercentFor(kBands, 9.99), 10);
  EXPECT_EQ(FinePercentFor(kBands, 10), 15);
  EXPECT_EQ(FinePercentFor(kBands, 100), 30);
  EXPECT_FALSE(FinePercentFor(kBands, 100.01));
  EXPECT_FALSE(FinePercentFor({}, 50));
}

TEST(RescissionRules, PaidBeyondTheFineIsRefundedAsAPayable) {
  RescissionValues v = PriceRescission(12000, 4000, 20);
  EXPECT_DOUBLE_EQ(v.fine, 2400);
  EXPECT_DOUBLE_EQ(v.calculated, 1600);
  EXPECT_EQ(v.account, "CNTPAGAR");
  EXPECT_DOUBLE_EQ(SignedAmount(v.account, v.calculated), -1600);
}

TEST(RescissionRules, AFineBeyondWhatWasPaidIsChargedAsAReceivable) {
  RescissionValues v = PriceRescission(12000, 1000, 10);
  EXPECT_DOUBLE_EQ(v.fine, 1200);
  EXPECT_DOUBLE_EQ(v.calculated, 200);
  EXPECT_EQ(v.account, "CNTRECEBER");
  EXPECT_DOUBLE_EQ(SignedAmount(v.account, v.calculated), 200);
}

TEST(RescissionRules, MoneyIsPricedInCentsHalfAwayFromZero) {
  EXPECT_EQ(PriceRescission(33333, 0, 15).fine, 5000);           // 49,9995 -> 50,00
  EXPECT_EQ(PriceRescission(123456710, 0, 5).fine, 6172836);     // 61.728,355 -> 61.728,36
  EXPECT_EQ(PriceRescission(617283503, 0, 20).fine, 123456701);  // 1.234.567,006 -> 1.234.567,01
  EXPECT_EQ(PriceRescission(123456710, 0, 12.5).fine, 15432089); // 15.432,08875 -> 15.432,09
  EXPECT_DOUBLE_EQ(SharePaid(1200000, 400000), 33.33);
  EXPECT_EQ(ShareText(33.333), "33,33");
  EXPECT_DOUBLE_EQ(SharePaid(0, 10), 100);
}

// --- methods ---

const char* kBranch = "0001";
const char* kBudget = "0000000101";
const char* kAna = "1001";

class Rescission : public DemoOnBackend {
 protected:
  Variant Confirma(const std::string& client, const std::string& seq = "01", const std::string& mode = "N") {
    return Call("ConfirmaValores", {kBranch, kBudget, seq, "1", "01", Variant(100000.0), client, "", mode});
  }
  Variant Distrato(const std::string& client, Variant fine, Variant negotiated, Variant amount) {
    return Call("Distrato", {kBranch, kBudget, "01", "1", "SUPERVISOR", client, fine, "", negotiated, amount});
  }
  // Everything a rescission may touch, as text, to compare before and after.
  std::string Snapshot() {
    return Rows({"SELECT NRSEQORCAEVE, COALESCE(NRSEQORCAEVEPAI, '') FROM ORCAEVENTO ORDER BY 1, 2",
          "SELECT NRSEQORCAEVE, CDCLIENTE, VRRECECONTOREV, IDSITUCONTOREV, IDCONTPROCESDIST,"
          " COALESCE(IDTPDISTRATOREALI, '') FROM CONTRATANTE ORDER BY 1, 2",
          "SELECT NRLANCTONF, NRSEQVENREC, IDSTATREC FROM CONTARECEBER ORDER BY 1, 2",
          "SELECT NRSEQORCAEVE, NRITEM, CDARVPROD, VRUNITITEM FROM ITEMORCAEVENTO ORDER BY 1, 2",
          "SELECT COUNT(*) FROM DISTRATOPARCIAL"});
  }
};

INSTANTIATE_TEST_SUITE_P(Backends, Rescission, AllBackends(), BackendName);

TEST_P(Rescission, GetContratRepetSeqTellsWhetherThePartyIsInAnotherSequence) {
  EXPECT_FALSE(Call("GetContratRepetSeq", {kBranch, kBudget, "1010"}).asBool());  // Juliana: only 01
  EXPECT_TRUE(Call("GetContratRepetSeq", {kBranch, kBudget, "1004"}).asBool());   // Daniel: 01 and child 02
  EXPECT_FALSE(Call("GetContratRepetSeq", {kBranch, kBudget, "9999"}).asBool());
}

TEST_P(Rescission, ConfirmaValoresPricesThePartyFromTheShareItPaid) {
  Variant result = Confirma(kAna);
  const DataPacket& row = result[0].asPacket();
  ASSERT_EQ(row.rowCount(), 1u);
  // Ana was charged 12.000,00 and paid 4.000,00 (33,33 %): 20 % fine on the
  // charge, the rest of what she paid is refunded.
  EXPECT_DOUBLE_EQ(row.at(0, "VRPERCMULTA").asDouble(), 20);
  EXPECT_DOUBLE_EQ(row.at(0, "VRMULTA").asDouble(), 2400);
  EXPECT_DOUBLE_EQ(row.at(0, "VRORIGRECNOEDIT").asDouble(), 1600);
  EXPECT_DOUBLE_EQ(row.at(0, "VRORIGREC").asDouble(), 1600);
  EXPECT_EQ(row.at(0, "GERACTPAGAR").asText(), "CNTPAGAR");
  EXPECT_DOUBLE_EQ(result[1].asDouble(), 4000);
  EXPECT_DOUBLE_EQ(result[2].asDouble(), 1600);
}

TEST_P(Rescission, ConfirmaValoresRefusesAPartyThatPaidNothingAndAShareWithoutBand) {
  EXPECT_EQ(Refusal([&] { Confirma("1010"); }), "N_PARAM_N_APLICA_MULTA");  // Juliana paid nothing
  db_->exec("DELETE FROM PERCMULTADISTRATO WHERE CDFILIAL = '0001' AND VRPERCPAGOINI = 30");
  EXPECT_EQ(Refusal([&] { Confirma(kAna); }), "N_PARAM_DISTRATO|33,33");
}

TEST_P(Rescission, DistratoRecordsThePartyTheChildBudgetAndTheValues) {
  ASSERT_EQ(Distrato(kAna, 2400.0, 1500.0, -1600.0).asText(), "");

  EXPECT_EQ(One("SELECT IDCONTPROCESDIST || IDSITUCONTOREV || IDTPDISTRATOREALI FROM CONTRATANTE"
                " WHERE NRORCAEVENTO = '0000000101' AND NRSEQORCAEVE = '01' AND CDCLIENTE = '1001'"),
            "SCANCELADOPARCIAL");
  // Sequence 02 already exists: the child budget is 03, child of 01.
  EXPECT_EQ(One("SELECT NRSEQORCAEVEPAI FROM ORCAEVENTO WHERE NRORCAEVENTO = '0000000101' AND NRSEQORCAEVE = '03'"),
            "01");
  EXPECT_EQ(One("SELECT VRRECECONTOREV || IDORIGEMINCLUSAO || IDCONTPROCESDIST FROM CONTRATANTE"
                " WHERE NRORCAEVENTO = '0000000101' AND NRSEQORCAEVE = '03' AND CDCLIENTE = '1001'"),
            "150000DISTRATOS");  // cents
  EXPECT_EQ(One("SELECT CDARVPROD || '=' || VRUNITITEM FROM ITEMORCAEVENTO"
                " WHERE NRORCAEVENTO = '0000000101' AND NRSEQORCAEVE = '03'"),
            "0901001=240000");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTARECEBER WHERE NRORCAEVENTO = '0000000101' AND CDCLIENTE = '1001'"
                " AND IDSTATREC IN ('A', 'P')"),
            "0");

  // The consolidation sees what was confirmed, not a new price.
  Variant recorded = Confirma(kAna, "seq", "S");
  EXPECT_DOUBLE_EQ(recorded[0].asPacket().at(0, "VRORIGREC").asDouble(), 1500);
  EXPECT_DOUBLE_EQ(recorded[0].asPacket().at(0, "VRMULTA").asDouble(), 2400);
  EXPECT_DOUBLE_EQ(recorded[0].asPacket().at(0, "VRORIGRECNOEDIT").asDouble(), 1600);

  EXPECT_EQ(Refusal([&] { Distrato(kAna, 2400.0, 1500.0, -1600.0); }),
            "O contratante já está em processo de distrato. Operação bloqueada.");
  EXPECT_EQ(Refusal([&] { Confirma(kAna); }), "O contratante já está em processo de distrato. Operação bloqueada.");
}

TEST_P(Rescission, AFailureMidwayLeavesTheDatabaseAsItWas) {
  const std::string before = Snapshot();
  // The last write of Distrato fails: everything before it must go too.
  AddFailingTrigger(*db_, "FAIL_RECORD", "BEFORE INSERT ON DISTRATOPARCIAL");
  EXPECT_NE(Refusal([&] { Distrato(kAna, 2400.0, 1600.0, -1600.0); }).find("falha forçada"), std::string::npos);
  EXPECT_EQ(Snapshot(), before);
}

TEST_P(Rescission, AccountsChangedSinceTheCalculationAreRefusedAndNothingIsWritten) {
  Variant priced = Confirma(kAna);
  // Another operator settles Ana's second installment meanwhile.
  db_->exec("UPDATE CONTARECEBER SET IDSTATREC = 'B' WHERE NRLANCTONF = '0000004101' AND NRSEQVENREC = '02'");
  const std::string before = Snapshot();
  const std::string refusal = Refusal([&] { Distrato(kAna, 2400.0, 1600.0, -priced[2].asDouble()); });
  EXPECT_NE(refusal.find("alterados por outro operador"), std::string::npos) << refusal;
  EXPECT_EQ(Snapshot(), before);
}

TEST_P(Rescission, TheSignOfTheAmountMustMatchTheAccountKind) {
  // Ana's balance is refunded (a payable): sent positive, it names a receivable.
  EXPECT_NE(Refusal([&] { Distrato(kAna, 2400.0, 1600.0, 1600.0); }).find("alterados por outro operador"),
            std::string::npos);
}

TEST_P(Rescission, BadValuesAreRefusedByName) {
  const std::string before = Snapshot();
  EXPECT_EQ(Refusal([&] { Distrato(kAna, 2400.0, -1.0, -1600.0); }), "N_PARAM_VRNEGATIVO");
  EXPECT_EQ(Refusal([&] { Distrato(kAna, -5.0, 1600.0, -1600.0); }), "N_PARAM_VRNEGATIVO");
  EXPECT_EQ(Refusal([&] { Distrato(kAna, 2400.0, Variant("12a0"), -1600.0); }),
            "Distrato: o valor negociado informado não é um número válido.");
  EXPECT_EQ(Refusal([&] { Distrato(kAna, Variant(), 1600.0, -1600.0); }),
            "Distrato: o valor da multa informado não é um número válido.");
  EXPECT_EQ(Snapshot(), before);
}

TEST_P(Rescission, AFixedDayPlanWithADayOrCountBeyondAnyIntIsRefusedByName) {
  ASSERT_EQ(Distrato(kAna, 2400.0, 1600.0, -1600.0).asText(), "");
  const std::string before = Snapshot();
  for (const char* field : {"NRDIAPGTOFIXO", "NRPARCELAS"}) {
    for (double sent : {1e300, -1e300, 2147483648.0, -2147483649.0}) {
      DataPacket form({{"IDTPFORMAPGTO", FieldType::String, 1}, {"NRDIAPGTOFIXO", FieldType::Float, 0},
                       {"NRPARCELAS", FieldType::Float, 0}, {"IDMESINIPGTO", FieldType::String, 1}});
      const bool day = std::string(field) == "NRDIAPGTOFIXO";
      form.addRow({Variant("F"), Variant(day ? sent : 10.0), Variant(day ? 2.0 : sent), Variant("P")});
      EXPECT_EQ(Refusal([&] {
                  Call("ConsolidaDistrato", {kBranch, kBudget, "01", "1", Variant(form), Variant(1600.0), "SUPERVISOR",
                                             "1", kAna, Variant(4000.0), "CNTPAGAR", ""});
                }),
                std::string("Valor inválido em ") + field + ".")
          << field << " = " << sent;
    }
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_P(Rescission, TheFineMustBeTheOnePricedAndTheNegotiatedValueWithinTheCalculated) {
  const std::string before = Snapshot();
  // Ana's fine is 2.400,00 and her refund 1.600,00.
  EXPECT_NE(Refusal([&] { Distrato(kAna, 2000.0, 1500.0, -1600.0); }).find("difere da multa calculada (2400,00)"),
            std::string::npos);
  EXPECT_NE(Refusal([&] { Distrato(kAna, 2400.01, 1500.0, -1600.0); }).find("difere da multa calculada"),
            std::string::npos);
  EXPECT_NE(Refusal([&] { Distrato(kAna, 0.0, 1500.0, -1600.0); }).find("difere da multa calculada"),
            std::string::npos);
  EXPECT_EQ(Refusal([&] { Distrato(kAna, 2400.0, 1600.01, -1600.0); }),
            "Distrato: o valor negociado (1600,01) não pode ser maior que o valor calculado (1600,00).");
  EXPECT_EQ(Snapshot(), before);
  // A negotiated value of 0 comes with a fine of 0 from the values dialog.
  EXPECT_EQ(Distrato(kAna, 0.0, 0.0, -1600.0).asText(), "");
  EXPECT_EQ(One("SELECT VRMULTA || '/' || VRORIGREC FROM DISTRATOPARCIAL WHERE CDCLIENTE = '1001'"), "0/0");
}

TEST_P(Rescission, HalfCentsSentAreTakenByTheMoneyRule) {
  // 1.599,995 is 1.600,00 by the rule: the values match to the cent.
  EXPECT_EQ(Distrato(kAna, 2399.995, 1599.995, -1599.995).asText(), "");
  EXPECT_EQ(One("SELECT VRMULTA || '/' || VRORIGREC FROM DISTRATOPARCIAL WHERE CDCLIENTE = '1001'"),
            "240000/160000");
}

TEST_P(Rescission, MissingParametersAndPaidSuppliersAreRefusedWithTheirKeys) {
  db_->exec("UPDATE PARAMDISTRATO SET CDPRODDISTRATO = NULL WHERE CDFILIAL = '0001'");
  EXPECT_EQ(Refusal([&] { Distrato(kAna, 2400.0, 1600.0, -1600.0); }), "N_PARAM_PRODDISTRADO");
  db_->exec("UPDATE PARAMDISTRATO SET CDPRODDISTRATO = '0101001' WHERE CDFILIAL = '0001'");
  EXPECT_EQ(Refusal([&] { Distrato(kAna, 2400.0, 1600.0, -1600.0); }), "N_PARAM_GRUPRODREL");
  db_->exec("UPDATE PARAMDISTRATO SET CDPRODDISTRATO = '0901001', CDTIPOOPER = '' WHERE CDFILIAL = '0001'");
  EXPECT_EQ(Refusal([&] { Distrato(kAna, 2400.0, 1600.0, -1600.0); }), "N_PARAM_TIPOOPER");
  db_->exec("UPDATE PARAMDISTRATO SET CDTIPOOPER = '501' WHERE CDFILIAL = '0001'");

  // A settled payable of the budget to someone who is not one of its parties.
  db_->exec(
      "INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRPARCELAPAG, NRSEQVENPAG, CDEMPRESA, NRORCAEVENTO,"
      " NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENPAG, DTATUAVENPAG, VRORIGPAG, VRATUAPAG,"
      " IDSTATPAG) VALUES ('0001', '0000009001', '01', '01', '01', '0000000101', '01', '1022', '1', 'NF 9001',"
      " 46000, 46000, 50000, 50000, 'B')");
  EXPECT_EQ(Refusal([&] { Distrato(kAna, 2400.0, 1600.0, -1600.0); }), "N_PARAM_CONTA_FORN");
}

}  // namespace
