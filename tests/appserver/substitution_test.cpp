// The substitution of a party on the server: who is offered as a substitute,
// what a plain substitution and a quota transfer move, what they refuse, and
// that a refusal or a failure midway writes nothing. Each test has a demo
// database of its own, since the changes write.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "storage/database.h"
#include "storage/statement.h"
#include "test_support.h"

namespace {

const char* kBranch = "0001";
const char* kBudget = "0000000150";
const char* kRenata = "3201";   // names a substitute, plain substitution
const char* kGustavo = "3202";  // quota holder, one contract
const char* kCamila = "3203";   // quota holder with a second contract
const char* kPaulo = "3204";    // substitute recorded, everything paid
const char* kLucas = "3001";    // free clients
const char* kEventosSul = "3101";

class Substitution : public DemoOnBackend {
 protected:
  Variant Substituir(const std::string& client, const std::string& substitute, const std::string& address = "1",
                     const std::string& account = "001", const std::string& op = "SUPERVISOR") {
    return Call("SubstituirContratante", {kBranch, kBudget, account, client, address, substitute, op, "01", "01"});
  }
  Variant Transf(const std::string& substitute, Variant value, Variant guests, Variant quotas,
                 const std::string& client = kGustavo) {
    return Call("TransfCotas", {kBranch, kBudget, client, substitute, "SUPERVISOR", "S", value, guests, quotas, "01",
                                "1", "002", "01"});
  }
  // Parties and receivables of the budget as text, to compare before and after.
  std::string Snapshot() {
    return Rows({"SELECT CDCLIENTE, NRENDCLIORCEVE, VRRECECONTOREV, IDSITUCONTOREV, COALESCE(CDCLICONTSUBORE, ''),"
          " IDTRANSFCOTAREALI, QTCONVCONTRAT, QTCOTACONTRAT FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000150'"
          " ORDER BY 1, 2",
          "SELECT NRLANCTONF, NRSEQVENREC, CDCLIENTE, IDSTATREC, VRATUAREC FROM CONTARECEBER ORDER BY 1, 2"});
  }
  std::string PartyOf(const std::string& client, const std::string& address = "1") {
    return One("SELECT IDSITUCONTOREV || '|' || IDORIGEMINCLUSAO || '|' || COALESCE(CDCLICONTSUBORE, '') || '|' ||"
               " VRRECECONTOREV || '|' || QTCONVCONTRAT || '|' || QTCOTACONTRAT || '|' || IDCONTRESPCOTAORCA ||"
               " IDTRANSFCOTAREALI FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000150' AND CDCLIENTE = '" +
               client + "' AND NRENDCLIORCEVE = '" + address + "'");
  }
};

INSTANTIATE_TEST_SUITE_P(Backends, Substitution, AllBackends(), BackendName);

// --- the look-ups ---

TEST_P(Substitution, GetRepetContratAnswersTheContractsBeyondTheFirst) {
  const DataPacket repeated = Call("GetRepetContrat", {kBranch, kBudget, kCamila}).asPacket();
  ASSERT_EQ(repeated.rowCount(), 1u);
  EXPECT_EQ(repeated.at(0, "NRENDCLIORCEVE").asText(), "2");
  EXPECT_TRUE(Call("GetRepetContrat", {kBranch, kBudget, kGustavo}).asPacket().rowCount() == 0u);
  EXPECT_TRUE(Call("GetRepetContrat", {"1", "150", "9999"}).asPacket().rowCount() == 0u);
}

TEST_P(Substitution, GetContSubOffersRegisteredClientsThatAreNotPartiesOfTheBudget) {
  const DataPacket offered = Call("GetContSub", {kBranch, "150", "seq", kRenata}).asPacket();
  const std::vector<std::string> codes = Column(offered, "CDCLIENTE");
  for (const char* party : {kRenata, kGustavo, kCamila, kPaulo})
    EXPECT_EQ(std::count(codes.begin(), codes.end(), party), 0) << party;
  for (const char* free : {kLucas, "3002", "3003", kEventosSul, "3102"})
    EXPECT_EQ(std::count(codes.begin(), codes.end(), free), 1) << free;
  // People and companies alike, each with its person type and registration.
  for (std::size_t i = 0; i < offered.rowCount(); ++i) {
    if (offered.at(i, "CDCLIENTE").asText() == kEventosSul) {
      EXPECT_EQ(offered.at(i, "IDTPIJURCLIE").asText(), "J");
      EXPECT_EQ(offered.at(i, "NRINSJURCLIE").asText().size(), 14u);
      EXPECT_EQ(offered.at(i, "NMFANTCLIE").asText(), "Eventos Sul Produções");
    }
  }
}

TEST_P(Substitution, GetVdClieFindsTheClientByItsDigitsAndType) {
  const std::string cpf = One("SELECT NRINSJURCLIE FROM CLIENTE WHERE CDCLIENTE = '3001'");
  const std::string masked = cpf.substr(0, 3) + "." + cpf.substr(3, 3) + "." + cpf.substr(6, 3) + "-" + cpf.substr(9);
  for (const std::string& typed : {cpf, masked, "F" + cpf, "C" + cpf}) {
    const DataPacket found = Call("GetVdClie", {typed, ""}).asPacket();
    ASSERT_EQ(found.rowCount(), 1u) << typed;
    EXPECT_EQ(found.at(0, "CDCLIENTE").asText(), kLucas);
    EXPECT_EQ(found.at(0, "IDTPIJURCLIE").asText(), "F");
  }
  EXPECT_EQ(Call("GetVdClie", {cpf, "F"}).asPacket().rowCount(), 1u);
  EXPECT_TRUE(Call("GetVdClie", {cpf, "J"}).asPacket().rowCount() == 0u);
  EXPECT_TRUE(Call("GetVdClie", {"00000000000", ""}).asPacket().rowCount() == 0u);
  EXPECT_TRUE(Call("GetVdClie", {"", ""}).asPacket().rowCount() == 0u);
}

// --- the plain substitution ---

TEST_P(Substitution, SubstituirContratanteHandsThePlaceAndTheOpenReceivablesToTheSubstitute) {
  ASSERT_EQ(Substituir(kRenata, kEventosSul).asText(), "");
  EXPECT_EQ(PartyOf(kRenata), "CANCELADO|ORCAMENTO|3101|900000|0|0|NN");
  EXPECT_EQ(PartyOf(kEventosSul), "CNTGERADA|SUBSTITUICAO||900000|15|0|NN");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTARECEBER WHERE NRLANCTONF = '0000007201' AND CDCLIENTE = '3101'"
                " AND IDSTATREC = 'A'"),
            "3");
  // The list shows the substitute next to the party, and as a party.
  const DataPacket list = Call("GetContratante", {kBranch, kBudget}).asPacket();
  bool sawSubstitute = false;
  for (std::size_t i = 0; i < list.rowCount(); ++i) {
    if (list.at(i, "CDCLIENTE").asText() == kRenata) {
      EXPECT_EQ(list.at(i, "NMFANTSUB").asText(), "Eventos Sul Produções");
    }
    if (list.at(i, "CDCLIENTE").asText() == kEventosSul) sawSubstitute = true;
  }
  EXPECT_TRUE(sawSubstitute);
  // The substitute came in by a substitution, so it is not rescinded on its own.
  EXPECT_TRUE(Call("NovoContratante", {kBranch, kBudget, "01", kEventosSul}).asBool());
  // A second operator confirming the same substitution finds it done.
  EXPECT_EQ(Refusal([&] { Substituir(kRenata, kEventosSul); }),
            "O contratante 3201 já foi substituído por outro operador. Atualize a lista.");
}

TEST_P(Substitution, TheRecordedSubstituteTakesThePlaceOfAPartyThatPaidEverything) {
  ASSERT_EQ(Substituir(kPaulo, "3003").asText(), "");
  EXPECT_EQ(PartyOf(kPaulo), "CANCELADO|ORCAMENTO|3003|800000|0|0|N");
  EXPECT_EQ(PartyOf("3003"), "CNTGERADA|SUBSTITUICAO||800000|10|0|N");
  // What was paid stays with the party that paid it.
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTARECEBER WHERE NRLANCTONF = '0000007204' AND CDCLIENTE = '3204'"), "2");
}

TEST_P(Substitution, AQuotaHolderWithASecondContractHandsOnlyTheContractNamed) {
  ASSERT_EQ(Substituir(kCamila, "3102", "1").asText(), "");
  EXPECT_EQ(PartyOf("3102"), "CNTGERADA|SUBSTITUICAO||1200000|25|12|SN");
  EXPECT_EQ(PartyOf(kCamila, "2"), "CNTGERADA|ORCAMENTO||600000|10|0|NN");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTARECEBER WHERE NRLANCTONF = '0000007213' AND CDCLIENTE = '3203'"), "2");
}

TEST_P(Substitution, SubstituirContratanteRefusesAndWritesNothing) {
  const std::string before = Snapshot();
  EXPECT_EQ(Refusal([&] { Substituir(kRenata, ""); }), "Contratante substituto deve ser informado.");
  EXPECT_EQ(Refusal([&] { Substituir(kRenata, "7777"); }), "Cliente 7777 não cadastrado.");
  EXPECT_EQ(Refusal([&] { Substituir(kRenata, kRenata); }), "O contratante não pode ser substituído por ele mesmo.");
  EXPECT_EQ(Refusal([&] { Substituir(kRenata, kGustavo); }),
            "O cliente 3202 já é contratante deste orçamento. Operação bloqueada.");
  EXPECT_EQ(Refusal([&] { Substituir("9999", kLucas); }), "N_PARAM_CONTSUB_ORCA");
  EXPECT_EQ(Refusal([&] { Substituir(kRenata, kLucas, "1", "001", "NINGUEM"); }),
            "Operador \"NINGUEM\" não cadastrado.");
  EXPECT_EQ(Refusal([&] { Substituir(kRenata, kLucas, "1", "999"); }),
            "Conta corrente 999 não cadastrada para a empresa 01.");
  // Paulo's row records Marcelo: the refusal says which substitute differs.
  EXPECT_EQ(Refusal([&] { Substituir(kPaulo, kLucas); }),
            "O substituto informado (3001) difere do substituto registrado para o contratante 3204 (3003). Informe o"
            " substituto registrado ou atualize a lista.");
  db_->exec("UPDATE PARAMDISTRATO SET CDPRODSUBSTITUICAO = NULL WHERE CDFILIAL = '0001'");
  EXPECT_EQ(Refusal([&] { Substituir(kRenata, kLucas); }), "N_PARAM_PRODSUBSTITUICAO");
  db_->exec("UPDATE PARAMDISTRATO SET CDTPBXSUBSTCONTORE = NULL WHERE CDFILIAL = '0001'");
  EXPECT_EQ(Refusal([&] { Substituir(kRenata, kLucas); }), "N_PARAM_CDTPBXSUBSTCONTORE");
  EXPECT_EQ(Snapshot(), before);
}

TEST_P(Substitution, APartyInARescissionIsNotSubstituted) {
  db_->exec("UPDATE CONTRATANTE SET IDCONTPROCESDIST = 'S' WHERE CDCLIENTE = '3201'");
  EXPECT_EQ(Refusal([&] { Substituir(kRenata, kLucas); }),
            "O contratante já está em processo de distrato. Operação bloqueada.");
  db_->exec("UPDATE CONTRATANTE SET IDCONTPROCESDIST = 'N', IDSITUCONTOREV = 'LANCADO' WHERE CDCLIENTE = '3201'");
  EXPECT_NE(Refusal([&] { Substituir(kRenata, kLucas); }).find("contrato gerado"), std::string::npos);
}

TEST_P(Substitution, AFailureMidwayLeavesTheDatabaseAsItWas) {
  const std::string before = Snapshot();
  AddFailingTrigger(*db_, "FAIL_MOVE", "BEFORE UPDATE OF CDCLIENTE ON CONTARECEBER");
  EXPECT_NE(Refusal([&] { Substituir(kRenata, kLucas); }).find("falha forçada"), std::string::npos);
  AddFailingTrigger(*db_, "FAIL_NEW", "BEFORE INSERT ON CONTARECEBER");
  EXPECT_NE(Refusal([&] { Transf(kLucas, 15000.0, 30.0, 18.0); }).find("falha forçada"), std::string::npos);
  EXPECT_EQ(Snapshot(), before);
}

// --- the quota transfer ---

TEST_P(Substitution, TransfCotasMovesQuotasGuestsAndTheOpenValueToTheSubstitute) {
  ASSERT_EQ(Transf(kLucas, 15000.0, 20.0, 18.0).asText(), "");
  // Gustavo keeps the guests not passed on; his value drops by what passed.
  EXPECT_EQ(PartyOf(kGustavo), "CNTGERADA|ORCAMENTO|3001|0|10|0|SS");
  EXPECT_EQ(PartyOf(kLucas), "CNTGERADA|SUBSTITUICAO||1500000|20|18|NN");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTARECEBER WHERE NRLANCTONF = '0000007202' AND IDSTATREC = 'C'"), "3");
  EXPECT_EQ(One("SELECT VRATUAREC || IDSTATREC || IDORIGNFORCA || CDEMPRESA || CDCONTCORR FROM CONTARECEBER"
                " WHERE CDCLIENTE = '3001'"),
            "1500000AG01" + One("SELECT CDCONTCORR FROM CONTACORRENTE WHERE CDEMPRESA = '01' AND CDREDUCONT = '002'"));
  // The budget's total is unchanged.
  EXPECT_EQ(Call("DadosComp", {kBranch, kBudget, "seq"})[1].asText(), "50000,00");
  // The transfer is done once.
  EXPECT_EQ(Refusal([&] { Transf("3002", 15000.0, 5.0, 1.0); }), "As cotas do contratante 3202 já foram transferidas.");
  // The holder can still hand its remaining place to someone else.
  EXPECT_EQ(Substituir(kGustavo, "3002").asText(), "");
  EXPECT_EQ(PartyOf("3002"), "CNTGERADA|SUBSTITUICAO||0|10|0|SS");
  // The substitute's transfer account is listed for it.
  const Variant accounts =
      Call("GetContas", {"01", kBudget, "01", kLucas, "1", "N", "SUBSTITUICAO", "N", ""});
  EXPECT_EQ(accounts[0].asPacket().rowCount(), 1u);
}

// Receivables and payables share one series of launch numbers: the
// substitute's new receivable comes after a payable's number too.
TEST_P(Substitution, TheSubstitutesReceivableTakesTheNextLaunchNumberOfBothSeries) {
  db_->exec(std::string("INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRPARCELAPAG, NRSEQVENPAG, CDEMPRESA,"
                        " NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENPAG, DTATUAVENPAG,"
                        " VRORIGPAG, VRATUAPAG, IDSTATPAG) VALUES ('") +
            kBranch + "', '0000090000', '01', '01', '01', '0000000999', '01', '3001', '1', 'DIST', 46000, 46000,"
                      " 100, 100, 'A')");
  ASSERT_EQ(Transf(kLucas, 15000.0, 20.0, 18.0).asText(), "");
  EXPECT_EQ(One("SELECT NRLANCTONF FROM CONTARECEBER WHERE CDCLIENTE = '3001'"), "0000090001");
}

TEST_P(Substitution, TransfCotasRefusesValuesOutOfRangeAndWritesNothing) {
  const std::string before = Snapshot();
  EXPECT_EQ(Refusal([&] { Transf(kLucas, 0.0, 20.0, 18.0); }), "N_PARAM_VRNOTA_ZERO");
  EXPECT_EQ(Refusal([&] { Transf(kLucas, -3.0, 20.0, 18.0); }), "N_PARAM_VRNOTA_ZERO");
  EXPECT_NE(Refusal([&] { Transf(kLucas, 15000.0, 0.0, 18.0); }).find("convidados deve ser de 1 a 30"),
            std::string::npos);
  EXPECT_NE(Refusal([&] { Transf(kLucas, 15000.0, 31.0, 18.0); }).find("convidados deve ser de 1 a 30"),
            std::string::npos);
  EXPECT_NE(Refusal([&] { Transf(kLucas, 15000.0, 2.5, 18.0); }).find("convidados"), std::string::npos);
  EXPECT_NE(Refusal([&] { Transf(kLucas, 15000.0, 20.0, 19.0); }).find("cotas deve ser de 1 a 18"),
            std::string::npos);
  EXPECT_NE(Refusal([&] { Transf(kLucas, 15000.0, Variant("x"), 18.0); }).find("não é um número válido"),
            std::string::npos);
  EXPECT_EQ(Refusal([&] { Transf(kCamila, 15000.0, 20.0, 18.0); }),
            "O cliente 3203 já é contratante deste orçamento. Operação bloqueada.");
  EXPECT_EQ(Refusal([&] { Transf(kLucas, 9000.0, 5.0, 0.0, kRenata); }),
            "O contratante 3201 não é responsável pelas cotas do orçamento.");
  EXPECT_EQ(Refusal([&] { Transf("", 15000.0, 20.0, 18.0); }), "Contratante substituto deve ser informado.");
  EXPECT_EQ(Snapshot(), before);
}

TEST_P(Substitution, TransfCotasRefusesAnOpenValueChangedByAnotherOperator) {
  // Another operator settles one of Gustavo's receivables after the screen summed them.
  db_->exec("UPDATE CONTARECEBER SET IDSTATREC = 'B' WHERE NRLANCTONF = '0000007202' AND NRSEQVENREC = '01'");
  const std::string before = Snapshot();
  const std::string refusal = Refusal([&] { Transf(kLucas, 15000.0, 20.0, 18.0); });
  EXPECT_NE(refusal.find("O valor transferido (15000,00) difere do valor em aberto do contratante 3202 nas contas da"
                         " empresa 01 (10000,00)"),
            std::string::npos)
      << refusal;
  EXPECT_EQ(Snapshot(), before);
  db_->exec("UPDATE CONTARECEBER SET IDSTATREC = 'B' WHERE NRLANCTONF = '0000007202'");
  EXPECT_EQ(Refusal([&] { Transf(kLucas, 15000.0, 20.0, 18.0); }), "N_PARAM_CONTA_ABERTA");
}

}  // namespace
