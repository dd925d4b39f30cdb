// The substitution of a contracting party ("troca de titularidade"): the
// party's other contracts (GetRepetContrat), the clients that may take its
// place (GetContSub, GetVdClie), the plain substitution
// (SubstituirContratante) and the transfer of a quota holder's quotas with
// its open value (TransfCotas). Rules in appserver/README.md, "Substitution".

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "audit/audit_trail.h"
#include "data/money.h"
#include "data/packet.h"
#include "methods/account_store.h"
#include "methods/eligibility_checks.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/launch_numbers.h"
#include "methods/rescission_store.h"
#include "methods/substitution_store.h"
#include "net/refusal.h"

namespace {

using namespace substitution_store;
using rescission_store::ContractSought;
using rescission_store::MoneyText;

FieldDef Text(const char* name, int size) { return {name, FieldType::String, size}; }
FieldDef Number(const char* name) { return {name, FieldType::Float, 0}; }

// The client fields both look-ups answer (cdsContSub and cdsVdContratante).
DataPacket ClientPacket(const std::vector<Client>& clients) {
  DataPacket p({Text("NRINSJURCLIE", 20), Text("NMFANTCLIE", 50), Text("NMRAZSOCCLIE", 50), Text("CDCLIENTE", 21),
                Text("IDTPIJURCLIE", 1)});
  for (const Client& c : clients)
    p.addRow({Variant(c.registration), Variant(c.tradeName), Variant(c.corporateName), Variant(c.code),
              Variant(c.personType)});
  return p;
}

// The client's contracts in the budget beyond its first, cancelled ones left
// out (a substituted place is no longer the client's).
Variant GetRepetContrat(Database& db, const protocol::GetRepetContrat& args) {
  const std::vector<Contract> contracts = LiveContracts(db, BudgetArgs(args), KeyCode(args.cliente, 0));
  DataPacket p({{"NRSEQORCAEVE", FieldType::FixedString, 2}, Text("CDCLIENTE", 21), Text("NRENDCLIORCEVE", 10),
                Text("IDSITUCONTOREV", 10), Number("VRRECECONTOREV"), Text("IDCONTRESPCOTAORCA", 1)});
  // The first contract is not a repetition.
  for (std::size_t i = 1; i < contracts.size(); ++i) {
    const Contract& c = contracts[i];
    p.addRow({Variant(c.seq), Variant(c.client), Variant(c.address), Variant(c.situation), Variant(c.charged),
              Variant(c.quotaHolder)});
  }
  return Variant(std::move(p));
}

// Every registered client that is neither the party nor already a party of
// the budget, by trade name.
Variant GetContSub(Database& db, const protocol::GetContSub& args) {
  return Variant(ClientPacket(ClientsOutsideBudget(db, BudgetArgs(args), KeyCode(args.cliente, 0))));
}

// The client whose CPF/CNPJ has these digits (punctuation and any leading
// type letter ignored), of the person type given when it is "F" or "J".
Variant GetVdClie(Database& db, const protocol::GetVdClie& args) {
  const std::string type = KeyCode(args.tipoPessoa, 0);
  return Variant(ClientPacket(ClientsByRegistration(db, RegistrationDigits(args.inscricao), type.substr(0, 1))));
}

// --- what both changes check -------------------------------------------------

// The party a change names: its first contract when no sequence is named.
Party RequireNamedParty(Database& db, const BudgetKey& b, const std::string& seqArg, const std::string& clientArg,
                        const std::string& addressArg) {
  const std::string client = KeyCode(clientArg, 0);
  const std::string address = KeyCode(addressArg, 0);
  const std::string seq = rescission_store::PartySequence(db, b, seqArg, client, address, ContractSought::kFirst);
  if (seq.empty()) throw Refusal("N_PARAM_CONTSUB_ORCA");
  std::optional<Party> p = rescission_store::LoadParty(db, b, seq, client, address);
  if (!p) throw Refusal("N_PARAM_CONTSUB_ORCA");
  return *p;
}

// A party the screen offered for substitution: a generated contract, not in a
// rescission, not substituted meanwhile by another operator.
void RequireSubstitutable(const Party& p) {
  if (p.process != "N") throw Refusal(kAlreadyInRescissionMessage);
  if (p.situation == "CANCELADO")
    throw Refusal("O contratante " + p.client + " já foi substituído por outro operador. Atualize a lista.");
  if (p.situation != "CNTGERADA")
    throw Refusal("Somente um contratante com contrato gerado pode ser substituído (situação " + p.situation + ").");
}

void RequireSubstitutionParameters(Database& db, const std::string& branch) {
  const std::optional<Parameters> params = SubstitutionParameters(db, branch);
  if (!params || params->writeOffType.empty()) throw Refusal("N_PARAM_CDTPBXSUBSTCONTORE");
  if (params->adjustmentType.empty()) throw Refusal("N_PARAM_CDTPAJUSUBCONTORE");
  if (params->product.empty()) throw Refusal("N_PARAM_PRODSUBSTITUICAO");
}

struct Substitute {
  std::string code, tradeName;
};

// A registered client other than the party, not yet a party of the budget,
// and the one the row recorded when it recorded one (else another operator
// changed the party since the screen read it).
Substitute RequireSubstitute(Database& db, const BudgetKey& b, const Party& p, const std::string& substituteArg) {
  Substitute s{KeyCode(substituteArg, 0), ""};
  if (s.code.empty()) throw Refusal("Contratante substituto deve ser informado.");
  const std::optional<std::string> tradeName = ClientTradeName(db, s.code);
  if (!tradeName) throw Refusal("Cliente " + s.code + " não cadastrado.");
  s.tradeName = *tradeName;
  if (s.code == p.client) throw Refusal("O contratante não pode ser substituído por ele mesmo.");
  // A holder whose quotas were transferred records who received them, not a
  // substitute still to come.
  if (!p.substitute.empty() && p.quotasTransferred != "S" && p.substitute != s.code)
    throw Refusal("O substituto informado (" + s.code + ") difere do substituto registrado para o contratante " + p.client +
           " (" + p.substitute + "). Informe o substituto registrado ou atualize a lista.");
  if (rescission_store::HoldsContract(db, b, s.code))
    throw Refusal("O cliente " + s.code + " já é contratante deste orçamento. Operação bloqueada.");
  return s;
}

// The company that owns the budget's accounts: the one sent, else the
// sequence's own.
std::string CompanyOf(Database& db, const BudgetKey& b, const Party& p, const std::string& companyArg) {
  std::string company = KeyCode(companyArg, kCompanyWidth);
  if (!company.empty()) return company;
  return rescission_store::SequenceCompany(db, b, p.seq);
}

// The bank account number of an informed account code of the company; empty
// when none was informed.
std::optional<std::string> BankAccount(Database& db, const std::string& company, const std::string& accountArg) {
  const std::string code = KeyCode(accountArg, kBankAccountWidth);
  if (code.empty()) return std::nullopt;
  std::optional<std::string> number = account_store::BankAccountNumber(db, company, code);
  if (!number) throw Refusal("Conta corrente " + code + " não cadastrada para a empresa " + company + ".");
  return number;
}

// A change of the party's row found it no longer as checked: a concurrent
// substitution or rescission left no row to change, and the whole call rolls
// back.
[[noreturn]] void RefuseChangedMeanwhile(const Party& p) {
  throw Refusal("O contratante " + p.client + " foi alterado por outro operador. Atualize a lista.");
}

// --- the changes -----------------------------------------------------------------

// The substitute takes the party's place: its value, guests, quotas and quota
// responsibility, and its open and planned receivables. The party stays in
// the list cancelled, with the substitute recorded; what it paid stays its.
Variant SubstituirContratante(Database& db, const protocol::SubstituirContratante& args) {
  rescission_store::RequireOperator(db, args.operador);
  const BudgetKey b = BudgetArgs(args);
  const Party p = RequireNamedParty(db, b, args.NRSEQORCAEVE, args.CDCLIENTE, args.NRENDCLIORCEVE);
  RefuseIfBudgetLocked(db, b.branch, b.budget, p.seq);
  RequireSubstitutable(p);
  RequireSubstitutionParameters(db, b.branch);
  const Substitute s = RequireSubstitute(db, b, p, args.CDCLICONTSUBORE);
  BankAccount(db, CompanyOf(db, b, p, args.empresa), args.contaCorrente);

  if (!CancelForSubstitute(db, b, p, s.code)) RefuseChangedMeanwhile(p);
  InsertSubstituteParty(db, b, p, s.code, s.tradeName,
                        {p.charged, p.guests, p.quotas, p.quotaHolder, p.quotasTransferred});
  MoveLiveReceivables(db, b, p, s.code);
  WriteAudit(db, {"SubstituirContratante", args.operador, b.branch, b.budget, p.client,
                  "substituto " + s.code + "; valor " + MoneyText(p.charged), "", p.seq, p.address});
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

// The quota holder hands the quotas and guests sent, and its whole open
// value, to the substitute, who comes into the sequence with one receivable
// of that value (origin "G"). The holder keeps the rest of its quotas and
// guests, its value drops by what passed and its open receivables are
// cancelled; its quotas count as transferred.
Variant TransfCotas(Database& db, const protocol::TransfCotas& args) {
  rescission_store::RequireOperator(db, args.operador);
  const BudgetKey b = BudgetArgs(args);
  const Party p = RequireNamedParty(db, b, args.NRSEQORCAEVE, args.CDCLIENTE, args.NRENDCLIORCEVE);
  RefuseIfBudgetLocked(db, b.branch, b.budget, p.seq);
  RequireSubstitutable(p);
  if (p.quotaHolder != "S") throw Refusal("O contratante " + p.client + " não é responsável pelas cotas do orçamento.");
  if (p.quotasTransferred != "N") throw Refusal("As cotas do contratante " + p.client + " já foram transferidas.");
  RequireSubstitutionParameters(db, b.branch);
  const Substitute s = RequireSubstitute(db, b, p, args.CDCLICONTSUBORE);

  std::optional<Cents> value = ToCents(args.vrTransferido);
  if (!value || *value > kMaxAmountCents) throw Refusal("TransfCotas: o valor transferido está fora dos limites.");
  if (*value <= 0) throw Refusal("N_PARAM_VRNOTA_ZERO");
  const std::int64_t guests = CountArg(args.qtConvidados, "convidados", p.guests);
  const std::int64_t quotas = CountArg(args.qtCotas, "cotas", p.quotas);

  const std::string company = CompanyOf(db, b, p, args.empresa);
  if (company.empty()) throw Refusal("N_PARAM_CDEMPRESAORCA");

  // The value offered is the party's open balance in the company's accounts,
  // as the screen summed them from the list it shows.
  const OpenReceivables open = OpenReceivablesOf(db, b, p, company);
  if (open.total <= 0) throw Refusal("N_PARAM_CONTA_ABERTA");
  if (open.total != *value)
    throw Refusal("O valor transferido (" + CentsText(*value) + ") difere do valor em aberto do contratante " + p.client +
           " nas contas da empresa " + company + " (" + CentsText(open.total) +
           "). Atualize a lista e refaça a troca de titularidade.");
  if (*value > p.charged) throw Refusal("TransfCotas: o valor transferido excede o valor do contratante.");
  const std::optional<std::string> account = BankAccount(db, company, args.contaCorrente);

  if (!HandOverQuotas(db, b, p, s.code, *value, guests, quotas)) RefuseChangedMeanwhile(p);
  CancelOpenReceivables(db, b, p, company);
  InsertSubstituteParty(db, b, p, s.code, s.tradeName, {*value, guests, quotas, "N", "N"});
  const std::string launch = LaunchText(LastLaunch(db, b.branch) + 1, b.branch);
  InsertTransferReceivable(db, b, {launch, company, p.seq, s.code, p.address, open.earliestDue, *value, account});
  WriteAudit(db, {"TransfCotas", args.operador, b.branch, b.budget, p.client,
                  "substituto " + s.code + "; transferido " + MoneyText(*value) + "; cotas " + std::to_string(quotas) +
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
