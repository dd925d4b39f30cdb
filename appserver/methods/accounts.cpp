// Bank accounts of a company, and the receivables and payables of a party.

#include <stdexcept>

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_builder.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

namespace {

// Mode "VD" checks one account code; mode "" lists the company's accounts
// whose code starts with what was typed (all of them when nothing was), plus
// the account the typed digits name once zero-filled.
Variant GetContCorr(Database& db, const protocol::GetContCorr& args) {
  std::string company = KeyCode(args.empresa, kCompanyWidth);
  std::string typed = KeyCode(args.codigo, 0);
  std::string code = KeyCode(typed, kBankAccountWidth);
  std::string mode = KeyCode(args.modo, 0);
  const char* columns =
      "SELECT CDREDUCONT, CDBANCO, CDAGENCIA, CDCONTCORR, DSCONTCORR, CDCONTCTBL, CDPICTCONT, CDPICTAGEN"
      "  FROM CONTACORRENTE WHERE CDEMPRESA = ?1 AND ";
  if (mode == "VD") {
    Statement st = db.prepare(std::string(columns) + "CDREDUCONT = ?2");
    st.bindAll(company, code);
    return QueryPacket(st, BankAccountShape());
  }
  if (!mode.empty()) throw Refusal("GetContCorr: modo desconhecido: " + mode);
  Statement st = db.prepare(std::string(columns) +
                            "(substr(CDREDUCONT, 1, length(?2)) = ?2 OR CDREDUCONT = ?3) ORDER BY CDREDUCONT");
  st.bindAll(company, typed, code);
  return QueryPacket(st, BankAccountShape());
}

bool inRescission(const std::string& proc) { return proc == "S" || proc == "C"; }

// The first five arguments name the party's accounts; its rescission state,
// inclusion origin and quota-transfer flag choose which of them belong on the
// screen (see README).
Variant GetContas(Database& db, const protocol::GetContas& args) {
  std::string company = KeyCode(args.empresa, kCompanyWidth);
  std::string budget = KeyCode(args.orcamento, kBudgetWidth);
  std::string seq = KeyCode(args.NRSEQORCAEVE, kSequenceWidth);
  std::string client = KeyCode(args.CDCLIENTE, 0);
  std::string address = KeyCode(args.NRENDCLIORCEVE, 0);
  bool rescission = inRescission(KeyCode(args.IDCONTPROCESDIST, 0));
  bool transfer = KeyCode(args.IDTRANSFCOTAREALI, 0) == "S" || KeyCode(args.IDORIGEMINCLUSAO, 0) == "SUBSTITUICAO";

  Statement rec = db.prepare(
      "SELECT r.NRSEQHISTRENEGO, r.BAIXAREALREALI, r.NRBAIXAREC, r.CDTPBAIXAREC, r.IDBAIXAREALIZADA,"
      "       r.IDORIGNFORCA, r.IDSTATBREC, r.NRCNABRECREM, r.CDNOSNUMREC, r.DOCUMENTO, r.DTATUAVENREC,"
      "       r.DTORIGVENREC, c.NMRAZSOCCLIE, r.NRSEQVENREC, r.NRPARCELAREC, r.IDSTATREC, AMOUNT(r.VRATUAREC),"
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
      "       p.IDSTATPAG, AMOUNT(p.VRATUAPAG), p.NRLANCTONF, p.IDSTATBPAG, p.NRCNABPAGREM, p.CDNOSNUMPAG,"
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
  d.add(Transactional(s, GetContCorr));
  d.add(Transactional(s, GetContas));
}
