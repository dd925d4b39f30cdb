// The substitution of a contracting party ("troca de titularidade"): the
// party's other contracts (GetRepetContrat), the clients that may take its
// place (GetContSub, GetVdClie), the plain substitution
// (SubstituirContratante) and the transfer of a quota holder's quotas with
// its open value (TransfCotas). Rules in appserver/README.md, "Substitution".

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>

#include "audit/audit_trail.h"
#include "data/money.h"
#include "data/packet.h"
#include "methods/eligibility_checks.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/rescission_store.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

namespace {


FieldDef Text(const char* name, int size) { return {name, FieldType::String, size}; }
FieldDef Number(const char* name) { return {name, FieldType::Float, 0}; }

// The client fields both look-ups answer (cdsContSub and cdsVdContratante).
DataPacket ClientPacket(Statement& st) {
  DataPacket p({Text("NRINSJURCLIE", 20), Text("NMFANTCLIE", 50), Text("NMRAZSOCCLIE", 50), Text("CDCLIENTE", 21),
                Text("IDTPIJURCLIE", 1)});
  while (st.step())
    p.addRow({Variant(st.text(0)), Variant(st.text(1)), Variant(st.text(2)), Variant(st.text(3)), Variant(st.text(4))});
  return p;
}

// The client's contracts in the budget beyond its first, cancelled ones left
// out (a substituted place is no longer the client's).
Variant GetRepetContrat(Database& db, const protocol::GetRepetContrat& args) {
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, IDSITUCONTOREV, AMOUNT(VRRECECONTOREV), IDCONTRESPCOTAORCA"
      "  FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3"
      "   AND IDSITUCONTOREV <> 'CANCELADO'"
      " ORDER BY NRSEQORCAEVE, NRENDCLIORCEVE");
  st.bindAll(KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth), KeyCode(args.cliente, 0));
  DataPacket p({{"NRSEQORCAEVE", FieldType::FixedString, 2}, Text("CDCLIENTE", 21), Text("NRENDCLIORCEVE", 10),
                Text("IDSITUCONTOREV", 10), Number("VRRECECONTOREV"), Text("IDCONTRESPCOTAORCA", 1)});
  const bool any = st.step();  // the first contract is not a repetition
  while (any && st.step())
    p.addRow({Variant(st.text(0)), Variant(st.text(1)), Variant(st.text(2)), Variant(st.text(3)), Variant(st.real(4)),
              Variant(st.text(5))});
  return Variant(std::move(p));
}

// Every registered client that is neither the party nor already a party of
// the budget, by trade name.
Variant GetContSub(Database& db, const protocol::GetContSub& args) {
  Statement st = db.prepare(
      "SELECT c.NRINSJURCLIE, c.NMFANTCLIE, c.NMRAZSOCCLIE, c.CDCLIENTE, c.IDTPIJURCLIE FROM CLIENTE c"
      " WHERE c.CDCLIENTE <> ?3 AND NOT EXISTS (SELECT 1 FROM CONTRATANTE p WHERE p.CDFILIAL = ?1"
      "       AND p.NRORCAEVENTO = ?2 AND p.CDCLIENTE = c.CDCLIENTE)"
      " ORDER BY c.NMFANTCLIE, c.CDCLIENTE");
  st.bindAll(KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth), KeyCode(args.cliente, 0));
  return Variant(ClientPacket(st));
}

// The client whose CPF/CNPJ has these digits (punctuation and any leading
// type letter ignored), of the person type given when it is "F" or "J".
Variant GetVdClie(Database& db, const protocol::GetVdClie& args) {
  const std::string type = KeyCode(args.tipoPessoa, 0);
  Statement st = db.prepare(
      "SELECT NRINSJURCLIE, NMFANTCLIE, NMRAZSOCCLIE, CDCLIENTE, IDTPIJURCLIE FROM CLIENTE"
      " WHERE NRINSJURCLIE = ?1 AND (?2 NOT IN ('F', 'J') OR IDTPIJURCLIE = ?2)");
  st.bindAll(RegistrationDigits(args.inscricao), type.substr(0, 1));
  return Variant(ClientPacket(st));
}

// --- what both changes check -------------------------------------------------

struct Party {
  std::string branch, budget, seq, client, address;
  std::string situation, process, recordedSubstitute, quotaHolder, quotasTransferred;
  Cents charged = 0;
  std::int64_t guests = 0, quotas = 0;
};

std::optional<std::string> PartySequence(Database& db, const std::string& branch, const std::string& budget,
                                         const std::string& seqArg, const std::string& client,
                                         const std::string& address) {
  if (std::optional<std::string> seq = SequenceArg(seqArg)) return KeyCode(*seq, kSequenceWidth);
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3"
      "   AND NRENDCLIORCEVE = ?4 ORDER BY NRSEQORCAEVE LIMIT 1");
  st.bindAll(branch, budget, client, address);
  if (!st.step()) return std::nullopt;
  return st.text(0);
}

Party LoadParty(Database& db, const std::string& branchArg, const std::string& budgetArg, const std::string& seqArg,
                const std::string& clientArg, const std::string& addressArg) {
  Party p;
  p.branch = KeyCode(branchArg, kBranchWidth);
  p.budget = KeyCode(budgetArg, kBudgetWidth);
  p.client = KeyCode(clientArg, 0);
  p.address = KeyCode(addressArg, 0);
  std::optional<std::string> seq = PartySequence(db, p.branch, p.budget, seqArg, p.client, p.address);
  if (!seq) throw Refusal("N_PARAM_CONTSUB_ORCA");
  p.seq = *seq;
  Statement st = db.prepare(
      "SELECT IDSITUCONTOREV, IDCONTPROCESDIST, COALESCE(CDCLICONTSUBORE, ''), IDCONTRESPCOTAORCA,"
      "       IDTRANSFCOTAREALI, VRRECECONTOREV, QTCONVCONTRAT, QTCOTACONTRAT FROM CONTRATANTE"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5");
  st.bindAll(p.branch, p.budget, p.seq, p.client, p.address);
  if (!st.step()) throw Refusal("N_PARAM_CONTSUB_ORCA");
  p.situation = st.text(0);
  p.process = st.text(1);
  p.recordedSubstitute = st.text(2);
  p.quotaHolder = st.text(3);
  p.quotasTransferred = st.text(4);
  p.charged = st.integer(5);
  p.guests = st.integer(6);
  p.quotas = st.integer(7);
  return p;
}

void RequireOperator(Database& db, const std::string& operatorArg) {
  const std::string code = KeyCode(operatorArg, 0);
  Statement st = db.prepare("SELECT 1 FROM OPERADOR WHERE CDOPERADOR = ?1");
  st.bind(1, code);
  if (code.empty() || !st.step()) throw Refusal("Operador \"" + code + "\" não cadastrado.");
}

// A party the screen offered for substitution: a generated contract, not in a
// rescission, not substituted meanwhile by another operator.
void RequireSubstitutable(const Party& p) {
  if (p.process != "N") throw Refusal("O contratante já está em processo de distrato. Operação bloqueada.");
  if (p.situation == "CANCELADO")
    throw Refusal("O contratante " + p.client + " já foi substituído por outro operador. Atualize a lista.");
  if (p.situation != "CNTGERADA")
    throw Refusal("Somente um contratante com contrato gerado pode ser substituído (situação " + p.situation + ").");
}

void RequireSubstitutionParameters(Database& db, const std::string& branch) {
  Statement st = db.prepare(
      "SELECT COALESCE(CDTPBXSUBSTCONTORE, ''), COALESCE(CDTPAJUSUBCONTORE, ''), COALESCE(CDPRODSUBSTITUICAO, '')"
      "  FROM PARAMDISTRATO WHERE CDFILIAL = ?1");
  st.bind(1, branch);
  const bool found = st.step();
  if (!found || st.text(0).empty()) throw Refusal("N_PARAM_CDTPBXSUBSTCONTORE");
  if (st.text(1).empty()) throw Refusal("N_PARAM_CDTPAJUSUBCONTORE");
  if (st.text(2).empty()) throw Refusal("N_PARAM_PRODSUBSTITUICAO");
}

struct Substitute {
  std::string code, tradeName;
};

// A registered client other than the party, not yet a party of the budget,
// and the one the row recorded when it recorded one (else another operator
// changed the party since the screen read it).
Substitute RequireSubstitute(Database& db, const Party& p, const std::string& substituteArg) {
  Substitute s{KeyCode(substituteArg, 0), ""};
  if (s.code.empty()) throw Refusal("Contratante substituto deve ser informado.");
  Statement client = db.prepare("SELECT NMFANTCLIE FROM CLIENTE WHERE CDCLIENTE = ?1");
  client.bind(1, s.code);
  if (!client.step()) throw Refusal("Cliente " + s.code + " não cadastrado.");
  s.tradeName = client.text(0);
  if (s.code == p.client) throw Refusal("O contratante não pode ser substituído por ele mesmo.");
  // A holder whose quotas were transferred records who received them, not a
  // substitute still to come.
  if (!p.recordedSubstitute.empty() && p.quotasTransferred != "S" && p.recordedSubstitute != s.code)
    throw Refusal("O substituto informado (" + s.code + ") difere do substituto registrado para o contratante " + p.client +
           " (" + p.recordedSubstitute + "). Informe o substituto registrado ou atualize a lista.");
  Statement member = db.prepare("SELECT 1 FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
  member.bindAll(p.branch, p.budget, s.code);
  if (member.step()) throw Refusal("O cliente " + s.code + " já é contratante deste orçamento. Operação bloqueada.");
  return s;
}

// The company that owns the budget's accounts: the one sent, else the
// sequence's own.
std::string CompanyOf(Database& db, const Party& p, const std::string& companyArg) {
  std::string company = KeyCode(companyArg, kCompanyWidth);
  if (!company.empty()) return company;
  Statement st = db.prepare(
      "SELECT COALESCE(CDEMPRESA, '') FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3");
  st.bindAll(p.branch, p.budget, p.seq);
  return st.step() ? st.text(0) : "";
}

// The bank account number of an informed account code of the company; empty
// when none was informed.
std::optional<std::string> BankAccount(Database& db, const std::string& company, const std::string& accountArg) {
  const std::string code = KeyCode(accountArg, kBankAccountWidth);
  if (code.empty()) return std::nullopt;
  Statement st = db.prepare("SELECT CDCONTCORR FROM CONTACORRENTE WHERE CDEMPRESA = ?1 AND CDREDUCONT = ?2");
  st.bindAll(company, code);
  if (!st.step()) throw Refusal("Conta corrente " + code + " não cadastrada para a empresa " + company + ".");
  return st.text(0);
}

// The party's row, changed only if it is still as checked: a concurrent
// substitution or rescission leaves no row to change, and the whole call
// rolls back.
void MarkSubstituted(Database& db, const Party& p, const std::string& sql, const Substitute& s) {
  Statement st = db.prepare(sql);
  st.bindAll(p.branch, p.budget, p.seq, p.client, p.address, s.code);
  st.run();
  if (db.changes() != 1)
    throw Refusal("O contratante " + p.client + " foi alterado por outro operador. Atualize a lista.");
}

void InsertSubstituteParty(Database& db, const Party& p, const Substitute& s, Cents charged, std::int64_t guests,
                           std::int64_t quotas, const std::string& quotaHolder, const std::string& transferred) {
  Statement st = db.prepare(
      "INSERT INTO CONTRATANTE (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NMCONTCLIORE,"
      "   VRRECECONTOREV, IDSITUCONTOREV, IDCONTPROCESDIST, IDORIGEMINCLUSAO, IDCONTRESPCOTAORCA,"
      "   IDTRANSFCOTAREALI, QTCONVCONTRAT, QTCOTACONTRAT)"
      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, 'CNTGERADA', 'N', 'SUBSTITUICAO', ?8, ?9, ?10, ?11)");
  st.bindAll(p.branch, p.budget, p.seq, s.code, p.address, s.tradeName, charged, quotaHolder, transferred, guests,
             quotas);
  st.run();
}

// --- the changes -----------------------------------------------------------------

// The substitute takes the party's place: its value, guests, quotas and quota
// responsibility, and its open and planned receivables. The party stays in
// the list cancelled, with the substitute recorded; what it paid stays its.
Variant SubstituirContratante(Database& db, const protocol::SubstituirContratante& args) {
  RequireOperator(db, args.operador);
  const Party p = LoadParty(db, args.filial, args.orcamento, args.NRSEQORCAEVE, args.CDCLIENTE, args.NRENDCLIORCEVE);
  RefuseIfBudgetLocked(db, p.branch, p.budget, p.seq);
  RequireSubstitutable(p);
  RequireSubstitutionParameters(db, p.branch);
  const Substitute s = RequireSubstitute(db, p, args.CDCLICONTSUBORE);
  BankAccount(db, CompanyOf(db, p, args.empresa), args.contaCorrente);

  MarkSubstituted(db, p,
                  "UPDATE CONTRATANTE SET IDSITUCONTOREV = 'CANCELADO', CDCLICONTSUBORE = ?6, QTCONVCONTRAT = 0,"
                  "       QTCOTACONTRAT = 0"
                  " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4"
                  "   AND NRENDCLIORCEVE = ?5 AND IDSITUCONTOREV = 'CNTGERADA' AND IDCONTPROCESDIST = 'N'",
                  s);
  InsertSubstituteParty(db, p, s, p.charged, p.guests, p.quotas, p.quotaHolder, p.quotasTransferred);
  Statement move = db.prepare(
      "UPDATE CONTARECEBER SET CDCLIENTE = ?6 WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDSTATREC IN ('A', 'P')");
  move.bindAll(p.branch, p.budget, p.seq, p.client, p.address, s.code);
  move.run();
  WriteAudit(db, {"SubstituirContratante", args.operador, p.branch, p.budget, p.client,
                  "substituto " + s.code + "; valor " + rescission_store::MoneyText(p.charged), "", p.seq,
                  p.address});
  return Variant("");
}

// A count the dialog returned: a whole number from 1 to `most`.
std::int64_t CountArg(const Variant& value, const char* what, std::int64_t most) {
  double number = 0;
  try {
    if (value.isNull() || value.isArray() || value.isPacket()) throw std::runtime_error("");
    number = value.asDouble();
  } catch (const std::exception&) {
    throw Refusal(std::string("TransfCotas: a quantidade de ") + what + " informada não é um número válido.");
  }
  if (!std::isfinite(number) || number != std::floor(number) || number < 1 || number > static_cast<double>(most))
    throw Refusal(std::string("TransfCotas: a quantidade de ") + what + " deve ser de 1 a " + std::to_string(most) + ".");
  return static_cast<std::int64_t>(number);
}

struct OpenReceivables {
  Cents total = 0;
  double earliestDue = 0;
};

// The party's open receivables owned by the company: the ones the screen
// lists (and sums) for that company.
OpenReceivables OpenOf(Database& db, const Party& p, const std::string& company) {
  Statement st = db.prepare(
      "SELECT COALESCE(SUM(VRATUAREC), 0), COALESCE(MIN(DTATUAVENREC), 0) FROM CONTARECEBER"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5"
      "   AND IDSTATREC = 'A' AND CDEMPRESA = ?6");
  st.bindAll(p.branch, p.budget, p.seq, p.client, p.address, company);
  st.step();
  return {st.integer(0), st.real(1)};
}

std::string NextLaunch(Database& db, const std::string& branch) {
  Statement st = db.prepare(
      "SELECT COALESCE(MAX(CAST(NRLANCTONF AS BIGINT)), 0) + 1 FROM CONTARECEBER WHERE CDFILIAL = ?1");
  st.bind(1, branch);
  st.step();
  std::string n = std::to_string(st.integer(0));
  return std::string(n.size() < 10 ? 10 - n.size() : 0, '0') + n;
}

// The quota holder hands the quotas and guests sent, and its whole open
// value, to the substitute, who comes into the sequence with one receivable
// of that value (origin "G"). The holder keeps the rest of its quotas and
// guests, its value drops by what passed and its open receivables are
// cancelled; its quotas count as transferred.
Variant TransfCotas(Database& db, const protocol::TransfCotas& args) {
  RequireOperator(db, args.operador);
  const Party p = LoadParty(db, args.filial, args.orcamento, args.NRSEQORCAEVE, args.CDCLIENTE, args.NRENDCLIORCEVE);
  RefuseIfBudgetLocked(db, p.branch, p.budget, p.seq);
  RequireSubstitutable(p);
  if (p.quotaHolder != "S") throw Refusal("O contratante " + p.client + " não é responsável pelas cotas do orçamento.");
  if (p.quotasTransferred != "N") throw Refusal("As cotas do contratante " + p.client + " já foram transferidas.");
  RequireSubstitutionParameters(db, p.branch);
  const Substitute s = RequireSubstitute(db, p, args.CDCLICONTSUBORE);

  std::optional<Cents> value = ToCents(args.vrTransferido);
  if (!value || *value > kMaxAmountCents) throw Refusal("TransfCotas: o valor transferido está fora dos limites.");
  if (*value <= 0) throw Refusal("N_PARAM_VRNOTA_ZERO");
  const std::int64_t guests = CountArg(args.qtConvidados, "convidados", p.guests);
  const std::int64_t quotas = CountArg(args.qtCotas, "cotas", p.quotas);

  const std::string company = CompanyOf(db, p, args.empresa);
  if (company.empty()) throw Refusal("N_PARAM_CDEMPRESAORCA");

  // The value offered is the party's open balance in the company's accounts,
  // as the screen summed them from the list it shows.
  const OpenReceivables open = OpenOf(db, p, company);
  if (open.total <= 0) throw Refusal("N_PARAM_CONTA_ABERTA");
  if (open.total != *value)
    throw Refusal("O valor transferido (" + CentsText(*value) + ") difere do valor em aberto do contratante " + p.client +
           " nas contas da empresa " + company + " (" + CentsText(open.total) +
           "). Atualize a lista e refaça a troca de titularidade.");
  if (*value > p.charged) throw Refusal("TransfCotas: o valor transferido excede o valor do contratante.");
  const std::optional<std::string> account = BankAccount(db, company, args.contaCorrente);

  Statement holder = db.prepare(
      "UPDATE CONTRATANTE SET IDTRANSFCOTAREALI = 'S', CDCLICONTSUBORE = ?6, VRRECECONTOREV = VRRECECONTOREV - ?7,"
      "       QTCONVCONTRAT = QTCONVCONTRAT - ?8, QTCOTACONTRAT = QTCOTACONTRAT - ?9"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5"
      "   AND IDSITUCONTOREV = 'CNTGERADA' AND IDCONTPROCESDIST = 'N' AND IDTRANSFCOTAREALI = 'N'");
  holder.bindAll(p.branch, p.budget, p.seq, p.client, p.address, s.code, *value, guests, quotas);
  holder.run();
  if (db.changes() != 1)
    throw Refusal("O contratante " + p.client + " foi alterado por outro operador. Atualize a lista.");

  Statement cancel = db.prepare(
      "UPDATE CONTARECEBER SET IDSTATREC = 'C' WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDSTATREC = 'A' AND CDEMPRESA = ?6");
  cancel.bindAll(p.branch, p.budget, p.seq, p.client, p.address, company);
  cancel.run();

  InsertSubstituteParty(db, p, s, *value, guests, quotas, "N", "N");

  const std::string launch = NextLaunch(db, p.branch);
  Statement receivable = db.prepare(
      "INSERT INTO CONTARECEBER (CDFILIAL, NRLANCTONF, NRPARCELAREC, NRSEQVENREC, CDEMPRESA, NRORCAEVENTO,"
      "   NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENREC, DTATUAVENREC, VRORIGREC, VRATUAREC,"
      "   IDSTATREC, IDORIGNFORCA, CDCONTCORR)"
      " VALUES (?1, ?2, '01', '01', ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?9, ?10, ?10, 'A', 'G', ?11)");
  receivable.bindAll(p.branch, launch, company, p.budget, p.seq, s.code, p.address, "NF " + launch + " 01/01",
                     open.earliestDue, *value);
  if (account) receivable.bind(11, *account);
  else receivable.bindNull(11);
  receivable.run();
  WriteAudit(db, {"TransfCotas", args.operador, p.branch, p.budget, p.client,
                  "substituto " + s.code + "; transferido " + rescission_store::MoneyText(*value) + "; cotas " + std::to_string(quotas) +
                      "; convidados " + std::to_string(guests),
                  "", p.seq, p.address});
  return Variant("");
}

}  // namespace

void RegisterSubstitution(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetRepetContrat));
  d.add(Transactional(s, GetContSub));
  d.add(Transactional(s, GetVdClie));
  d.add(Transactional(s, SubstituirContratante, Access::kWriteBudget));
  d.add(Transactional(s, TransfCotas, Access::kWriteBudgetAndLaunches));
}
