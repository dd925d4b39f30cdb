// Bank accounts of a company, and the receivables and payables of a party.

#include <stdexcept>

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_builder.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

using A = ArgKind;

// Mode "VD" checks one account code; mode "" lists the company's accounts
// whose code starts with what was typed (all of them when nothing was), plus
// the account the typed digits name once zero-filled.
Variant GetContCorr(Database& db, CallArgs& args) {
  std::string company = KeyCode(args.text(0), kCompanyWidth);
  std::string typed = KeyCode(args.text(1), 0);
  std::string code = KeyCode(typed, kBankAccountWidth);
  std::string mode = KeyCode(args.text(2), 0);
  const char* columns =
      "SELECT CDREDUCONT, CDBANCO, CDAGENCIA, CDCONTCORR, DSCONTCORR, CDCONTCTBL, CDPICTCONT, CDPICTAGEN"
      "  FROM CONTACORRENTE WHERE CDEMPRESA = ?1 AND ";
  if (mode == "VD") {
    Statement st = db.prepare(std::string(columns) + "CDREDUCONT = ?2");
    st.bindAll(company, code);
    return QueryPacket(st, BankAccountShape());
  }
  if (!mode.empty()) throw std::runtime_error("GetContCorr: modo desconhecido: " + mode);
  Statement st = db.prepare(std::string(columns) +
                            "(substr(CDREDUCONT, 1, length(?2)) = ?2 OR CDREDUCONT = ?3) ORDER BY CDREDUCONT");
  st.bindAll(company, typed, code);
  return QueryPacket(st, BankAccountShape());
}

bool inRescission(const std::string& proc) { return proc == "S" || proc == "C"; }

// The nine arguments: company, budget, sequence, client, address number, the
// party's rescission state, its inclusion origin, its quota-transfer flag and
// its rescission type. The first five name the party's accounts; the next
// three choose which of them belong on the screen (see README).
Variant GetContas(Database& db, CallArgs& args) {
  std::string company = KeyCode(args.text(0), kCompanyWidth);
  std::string budget = KeyCode(args.text(1), kBudgetWidth);
  std::string seq = KeyCode(args.text(2), kSequenceWidth);
  std::string client = KeyCode(args.text(3), 0);
  std::string address = KeyCode(args.text(4), 0);
  bool rescission = inRescission(KeyCode(args.text(5), 0));
  bool transfer = KeyCode(args.text(7), 0) == "S" || KeyCode(args.text(6), 0) == "SUBSTITUICAO";

  Statement rec = db.prepare(
      "SELECT r.NRSEQHISTRENEGO, r.BAIXAREALREALI, r.NRBAIXAREC, r.CDTPBAIXAREC, r.IDBAIXAREALIZADA,"
      "       r.IDORIGNFORCA, r.IDSTATBREC, r.NRCNABRECREM, r.CDNOSNUMREC, r.DOCUMENTO, r.DTATUAVENREC,"
      "       r.DTORIGVENREC, c.NMRAZSOCCLIE, r.NRSEQVENREC, r.NRPARCELAREC, r.IDSTATREC, MONEY(r.VRATUAREC),"
      "       r.CDCONTCORR, r.NRLANCTONF"
      "  FROM CONTARECEBER r JOIN CLIENTE c ON c.CDCLIENTE = r.CDCLIENTE"
      " WHERE r.CDEMPRESA = ?1 AND r.NRORCAEVENTO = ?2 AND r.NRSEQORCAEVE = ?3"
      "   AND r.CDCLIENTE = ?4 AND r.NRENDCLIORCEVE = ?5"
      "   AND (?6 = 1 OR (r.IDSTATREC <> 'C' AND r.IDORIGNFORCA NOT IN ('T', 'I')))"
      "   AND (?7 = 1 OR r.IDORIGNFORCA <> 'G')"
      " ORDER BY r.DTATUAVENREC, r.NRLANCTONF, r.NRPARCELAREC, r.NRSEQVENREC");
  rec.bindAll(company, budget, seq, client, address, rescission ? 1 : 0, transfer ? 1 : 0);
  DataPacket receivables = QueryPacket(rec, ReceivableShape());

  int settled = 0;
  int status = receivables.fieldIndex("IDSTATREC");
  for (const auto& row : receivables.rows)
    if (row[static_cast<std::size_t>(status)].asText() == "B") ++settled;

  Statement pay = db.prepare(
      "SELECT p.DTATUAVENPAG, p.DTORIGVENPAG, c.NMRAZSOCCLIE, p.NRSEQVENPAG, p.NRPARCELAPAG, p.DOCUMENTO,"
      "       p.IDSTATPAG, MONEY(p.VRATUAPAG), p.NRLANCTONF, p.IDSTATBPAG, p.NRCNABPAGREM, p.CDNOSNUMPAG,"
      "       p.IDORIGNFORCA, p.IDBAIXAREALIZADA"
      "  FROM CONTAPAGAR p JOIN CLIENTE c ON c.CDCLIENTE = p.CDCLIENTE"
      " WHERE p.CDEMPRESA = ?1 AND p.NRORCAEVENTO = ?2 AND p.NRSEQORCAEVE = ?3"
      "   AND p.CDCLIENTE = ?4 AND p.NRENDCLIORCEVE = ?5"
      "   AND (?6 = 1 OR p.IDORIGNFORCA NOT IN ('T', 'I'))"
      "   AND (?7 = 1 OR p.IDORIGNFORCA <> 'G')"
      " ORDER BY p.DTATUAVENPAG, p.NRLANCTONF, p.NRPARCELAPAG, p.NRSEQVENPAG");
  pay.bindAll(company, budget, seq, client, address, rescission ? 1 : 0, transfer ? 1 : 0);
  DataPacket payables = QueryPacket(pay, PayableShape());

  return MakeArray({Variant(std::move(receivables)), Variant(settled), Variant(std::move(payables))});
}

}  // namespace

void RegisterAccounts(Dispatcher& d, Storage& s) {
  d.add({"GetContCorr", {A::Text, A::Text, A::Text}, Transactional(s, GetContCorr)});
  d.add({"GetContas", std::vector<ArgKind>(9, A::Text), Transactional(s, GetContas)});
}
