#include "methods/account_store.h"

#include "methods/packet_builder.h"
#include "methods/packet_shapes.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace account_store {

namespace {

constexpr const char* kBankAccountColumns =
    "SELECT CDREDUCONT, CDBANCO, CDAGENCIA, CDCONTCORR, DSCONTCORR, CDCONTCTBL, CDPICTCONT, CDPICTAGEN"
    "  FROM CONTACORRENTE WHERE CDEMPRESA = ?1 AND ";

void bindParty(Statement& st, const PartyAccounts& p, const AccountsShown& shown) {
  st.bindAll(p.company, p.budget, p.seq, p.client, p.address, shown.rescission ? 1 : 0, shown.transfer ? 1 : 0);
}

}  // namespace

DataPacket BankAccount(Database& db, const std::string& company, const std::string& code) {
  Statement st = db.prepare(std::string(kBankAccountColumns) + "CDREDUCONT = ?2");
  st.bindAll(company, code);
  return QueryPacket(st, BankAccountShape());
}

std::optional<std::string> BankAccountNumber(Database& db, const std::string& company, const std::string& code) {
  Statement st = db.prepare("SELECT CDCONTCORR FROM CONTACORRENTE WHERE CDEMPRESA = ?1 AND CDREDUCONT = ?2");
  st.bindAll(company, code);
  if (!st.step()) return std::nullopt;
  return st.text(0);
}

DataPacket BankAccountsStartingWith(Database& db, const std::string& company, const std::string& typed,
                                    const std::string& code) {
  Statement st = db.prepare(std::string(kBankAccountColumns) +
                            "(substr(CDREDUCONT, 1, length(?2)) = ?2 OR CDREDUCONT = ?3) ORDER BY CDREDUCONT");
  st.bindAll(company, typed, code);
  return QueryPacket(st, BankAccountShape());
}

DataPacket Receivables(Database& db, const PartyAccounts& p, const AccountsShown& shown) {
  Statement st = db.prepare(
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
  bindParty(st, p, shown);
  return QueryPacket(st, ReceivableShape());
}

DataPacket Payables(Database& db, const PartyAccounts& p, const AccountsShown& shown) {
  Statement st = db.prepare(
      "SELECT p.DTATUAVENPAG, p.DTORIGVENPAG, c.NMRAZSOCCLIE, p.NRSEQVENPAG, p.NRPARCELAPAG, p.DOCUMENTO,"
      "       p.IDSTATPAG, AMOUNT(p.VRATUAPAG), p.NRLANCTONF, p.IDSTATBPAG, p.NRCNABPAGREM, p.CDNOSNUMPAG,"
      "       p.IDORIGNFORCA, p.IDBAIXAREALIZADA"
      "  FROM CONTAPAGAR p JOIN CLIENTE c ON c.CDCLIENTE = p.CDCLIENTE"
      " WHERE p.CDEMPRESA = ?1 AND p.NRORCAEVENTO = ?2 AND p.NRSEQORCAEVE = ?3"
      "   AND p.CDCLIENTE = ?4 AND p.NRENDCLIORCEVE = ?5"
      "   AND (?6 = 1 OR p.IDORIGNFORCA NOT IN ('T', 'I'))"
      "   AND (?7 = 1 OR p.IDORIGNFORCA <> 'G')"
      " ORDER BY p.DTATUAVENPAG, p.NRLANCTONF, p.NRPARCELAPAG, p.NRSEQVENPAG");
  bindParty(st, p, shown);
  return QueryPacket(st, PayableShape());
}

}  // namespace account_store
