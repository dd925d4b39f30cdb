// Undoing a rescission: whether a commission of the budget was already
// generated (Vd_ExistComisGerada) and the undo itself, of one party's partial
// rescission or of the budget's total one (DesfazerDistrato). Rules in
// appserver/README.md, "Undoing a rescission".

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "audit/audit_trail.h"
#include "data/money.h"
#include "methods/eligibility_checks.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/working_set_store.h"
#include "methods/packet_reading.h"
#include "methods/rescission_store.h"
#include "methods/rescission_undo_store.h"
#include "session/caller_session.h"
#include "net/refusal.h"

namespace {

using namespace rescission_store;
using namespace packet_reading;
using namespace std::chrono_literals;

constexpr auto kApprovalWindow = 5min;

constexpr const char* kNoApproval =
    "Cancelamento do distrato só é possível caso um(a) supervisor(a) ou gerente informe sua senha (confirmada nesta"
    " conexão há no máximo 5 minutos). Operação bloqueada.";
constexpr const char* kCommission =
    "Existe comissão gerada para o vendedor, supervisor e/ou gerente do vendedor do orçamento. Para desfazer o"
    " distrato a comissão do vendedor e de seus superiores deve ser cancelada pela tela \"Manutenção da Comissão do"
    " Vendedor\". Operação bloqueada.";

// --- Vd_ExistComisGerada ----------------------------------------------------

// False when the undo is blocked by a commission already generated; the kind
// comes back as sent.
Variant Vd_ExistComisGerada(Database& db, const protocol::Vd_ExistComisGerada& args) {
  const std::string kind = KeyCode(args.tipo, 0);
  const std::string client = kind == "TOTAL" ? std::string() : KeyCode(args.CDCLIENTE, 0);
  return !CommissionGenerated(db, BudgetArgs(args), client);
}

// --- DesfazerDistrato -------------------------------------------------------

// The approver of the confirmation given on this connection, used up by the
// call before its transaction starts: a transaction run again after a
// conflict sees the same approval. Nothing when there is none or it expired.
std::optional<std::string> TakeCallersApproval(CallerSession& caller) {
  return caller.takeApproval(CallerSession::Clock::now(), kApprovalWindow);
}

// The approving operator; refuses when there is none, or the approver lost
// the role since.
std::string CheckApprover(Database& db, const std::optional<std::string>& approver) {
  if (!approver || !MayApprove(db, *approver)) throw Refusal(kNoApproval);
  return *approver;
}

// Restores parties of the budget to where they were before their rescission,
// then removes the child budgets they leave empty.
class Undoer {
 public:
  Undoer(Database& db, const BudgetKey& b) : db_(db), b_(b) {}

  // The recorded rescission of `p`; for one recorded before its values were
  // kept, only the child budget, found by its party row.
  Recorded Record(const Party& p) {
    if (std::optional<Recorded> recorded = RecordedValues(db_, b_, p)) return *recorded;
    Recorded r;
    r.childSeq = ChildSequenceByPartyRow(db_, b_, p);
    return r;
  }

  // Refuses when an account the consolidation generated for `p` was settled,
  // wholly or in part: the money moved, so the rescission stands until the
  // settlement is reversed.
  void RefuseSettledAccounts(const Party& p, const std::string& origin) {
    if (GeneratedAccountSettled(db_, b_, p, origin))
      throw Refusal("A conta gerada pelo distrato do contratante " + p.name +
             " já foi baixada. Estorne a baixa antes de desfazer o distrato. Operação bloqueada.");
  }

  // Removes the accounts generated for `p`, gives back the status of the
  // receivables the rescission cancelled or applied, removes its child budget
  // and recorded values and frees the party. Answers the generated amount
  // removed.
  Cents Restore(const Party& p, const Recorded& r, const std::string& origin) {
    const Cents removed = GeneratedAmount(db_, b_, p, origin);
    RemoveGeneratedAccounts(db_, b_, p, origin);
    RestoreCancelledReceivables(db_, b_, p);
    if (!r.childSeq.empty()) {
      RemoveFromChildBudget(db_, b_, r.childSeq, p);
      children_.insert(r.childSeq);
    }
    RemoveRecordedValues(db_, b_, p);
    if (!FreeParty(db_, b_, p, FormerSituation(p, r)))
      throw Refusal("O contratante " + p.name + " foi alterado por outro operador. Atualize a lista. Operação bloqueada.");
    return removed;
  }

  // Removes the child budgets left without parties: their items and
  // commissions went with the rescission.
  void RemoveEmptyChildren() {
    for (const std::string& child : children_)
      if (!SequenceHasParties(db_, b_, child)) RemoveSequence(db_, b_, child);
  }

 private:
  // The situation recorded with the rescission; for one recorded before it
  // was kept, "CNTGERADA" when the budget's closing generated receivables for
  // the party, else "LANCADO".
  std::string FormerSituation(const Party& p, const Recorded& r) {
    if (!r.formerSituation.empty()) return r.formerSituation;
    return ClosingGeneratedReceivables(db_, b_, p) ? "CNTGERADA" : "LANCADO";
  }

  Database& db_;
  BudgetKey b_;
  std::set<std::string> children_;  // child budgets that lost parties
};

void RefuseSubstitute(const Party& p) {
  if (!p.substitute.empty())
    throw Refusal("O contratante " + p.name + " tem substituto registrado: o distrato não pode ser desfeito. Operação"
           " bloqueada.");
}

// One party's partial rescission, started or consolidated.
Variant UndoPartial(Database& db, const protocol::DesfazerDistrato& args, const std::string& approver) {
  const BudgetKey b = BudgetArgs(args);
  const Party p = RequireParty(db, b, args.NRSEQORCAEVE, args.CDCLIENTE, args.NRENDCLIORCEVE);
  RefuseIfBudgetLocked(db, b.branch, b.budget, p.seq);
  if (p.process != "S" && p.process != "C")
    throw Refusal("O contratante " + p.name + " não está em processo de distrato: não há distrato a desfazer.");
  if (p.type == "TOTAL")
    throw Refusal("O contratante " + p.name + " está em processo de distrato total. Apenas contratantes que já consolidaram"
           " o distrato parcial podem ter o distrato cancelado com o tipo de distrato marcado como 'Parcial'."
           " Operação bloqueada.");
  RefuseSubstitute(p);
  if (CommissionGenerated(db, b, p.client)) throw Refusal(kCommission);

  Undoer undoer(db, b);
  undoer.RefuseSettledAccounts(p, "I");
  const Recorded r = undoer.Record(p);
  const Cents removed = undoer.Restore(p, r, "I");
  undoer.RemoveEmptyChildren();
  WriteAudit(db, {"DesfazerDistrato", args.operador, b.branch, b.budget, p.client,
                  "parcial; negociado " + MoneyText(r.negotiated) + "; multa " + MoneyText(r.values.fine) +
                      "; contas geradas removidas " + MoneyText(removed),
                  approver, p.seq, p.address});
  return Variant("");
}

// The contracts of the screen's list among `parties`, by party key, with the
// rescission state it showed. A row that carries only the client code stands
// for every contract of that client.
std::map<std::string, std::string> ListedStates(const Variant& sent, const std::vector<Party>& parties) {
  const DataPacket& p = PacketArg(sent, "contratantes");
  if (!Has(p, "CDCLIENTE")) throw Refusal("Pacote de contratantes sem CDCLIENTE.");
  std::map<std::string, std::string> out;
  for (std::size_t r = 0; r < p.rowCount(); ++r) {
    const std::string client = KeyCode(TextAt(p, r, "CDCLIENTE"), 0);
    const std::string seq = TextAt(p, r, "NRSEQORCAEVE");
    const std::string address = KeyCode(TextAt(p, r, "NRENDCLIORCEVE"), 0);
    for (const Party& party : parties)
      if (party.client == client && (seq.empty() || party.seq == KeyCode(seq, kSequenceWidth)) &&
          (address.empty() || party.address == address))
        out[RecordKey(party)] = Has(p, "IDCONTPROCESDIST") ? TextAt(p, r, "IDCONTPROCESDIST") : "";
  }
  return out;
}

// Every party of the budget's total rescission, all or none.
Variant UndoTotal(Database& db, const protocol::DesfazerDistrato& args, const std::string& approver) {
  const BudgetKey b = BudgetArgs(args);
  const std::vector<Party> parties = LoadParties(db, b, PartySet::InTotalRescission);
  if (parties.empty()) throw Refusal("Não há distrato total a desfazer no orçamento " + b.budget + ".");
  const std::map<std::string, std::string> listed = ListedStates(args.contratantes, parties);
  // A substitute recorded on a party of a total rescission was recorded while
  // the contract was live (the receiver of its quotas, or one named and not
  // yet in its place): the rescission took the contract as it stood, and the
  // undo gives it back so, substitute included.
  for (const Party& p : parties) {
    auto seen = listed.find(RecordKey(p));
    if (seen == listed.end() || (!seen->second.empty() && seen->second != p.process))
      throw Refusal("O contratante " + p.name + " foi alterado por outro operador. Atualize a lista. Operação bloqueada.");
  }
  if (CommissionGenerated(db, b, "")) throw Refusal(kCommission);

  Undoer undoer(db, b);
  for (const Party& p : parties) undoer.RefuseSettledAccounts(p, "T");
  Cents negotiated = 0, fines = 0, removed = 0;
  for (const Party& p : parties) {
    const Recorded r = undoer.Record(p);
    removed += undoer.Restore(p, r, "T");
    negotiated += r.negotiated;
    fines += r.values.fine;
  }
  undoer.RemoveEmptyChildren();
  // A review left from the consolidation belongs to the rescission undone.
  ClearWorkingSet(db, b);
  WriteAudit(db, {"DesfazerDistrato", args.operador, b.branch, b.budget, "",
                  "total; " + std::to_string(parties.size()) + " contratante(s); negociado " + MoneyText(negotiated) +
                      "; multa " + MoneyText(fines) + "; contas geradas removidas " + MoneyText(removed),
                  approver, "", ""});
  return Variant("");
}

// Undoes a rescission approved by a supervisor or manager on this
// connection. Answers "".
Variant DesfazerDistrato(Database& db, const protocol::DesfazerDistrato& args,
                         const std::optional<std::string>& approval) {
  const std::string kind = KeyCode(args.tipo, 0);
  if (kind != "CONTRATANTE" && kind != "GERAL")
    throw Refusal("DesfazerDistrato: tipo inválido \"" + args.tipo + "\" (CONTRATANTE ou GERAL).");
  RequireOperator(db, KeyCode(args.operador, 0));
  const std::string approver = CheckApprover(db, approval);
  return kind == "CONTRATANTE" ? UndoPartial(db, args, approver) : UndoTotal(db, args, approver);
}

}  // namespace

void RegisterUndo(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, Vd_ExistComisGerada));
  d.add(DeclaredMethod<protocol::DesfazerDistrato>([&s](protocol::DesfazerDistrato& call, const CallContext& context) {
    const std::optional<std::string> approval = TakeCallersApproval(RequireCaller(context));
    return InWritingTransaction(s, WriterLocksOf(call, Access::kWriteBudget), context.request,
                                [&](Database& db) { return DesfazerDistrato(db, call, approval); });
  }));
}
