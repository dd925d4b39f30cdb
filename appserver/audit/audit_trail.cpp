#include "audit/audit_trail.h"

#include "methods/key_codes.h"
#include "methods/server_clock.h"
#include "storage/database.h"
#include "storage/statement.h"

void WriteAudit(Database& db, const AuditEntry& e) {
  Statement st = db.prepare(
      "INSERT INTO AUDITORIA (DTHRAUDITORIA, CDOPERADOR, NMMETODO, CDFILIAL, NRORCAEVENTO, CDCLIENTE, DSVALORES,"
      "   CDOPERAPROV, NRSEQORCAEVE, NRENDCLIORCEVE) VALUES (?8, ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?9, ?10)");
  st.bindAll(KeyCode(e.operatorCode, 0), e.method, e.branch, e.budget, e.party, e.amounts, e.approver,
             UtcTimestampText(), e.party.empty() ? "" : e.seq, e.party.empty() ? "" : e.address)
      .run();
}

std::vector<AuditRow> ReadAudit(Database& db, const std::string& since) {
  Statement st = db.prepare(
      "SELECT DTHRAUDITORIA, CDOPERADOR, NMMETODO, CDFILIAL, NRORCAEVENTO, CDCLIENTE, DSVALORES, CDOPERAPROV,"
      "       NRSEQORCAEVE, NRENDCLIORCEVE"
      "  FROM AUDITORIA WHERE ?1 = '' OR DTHRAUDITORIA >= ?1 ORDER BY DTHRAUDITORIA DESC, NRAUDITORIA DESC");
  st.bind(1, since);
  std::vector<AuditRow> rows;
  while (st.step())
    rows.push_back({st.text(0), st.text(1), st.text(2), st.text(3), st.text(4), st.text(5), st.text(6), st.text(7),
                    st.text(8), st.text(9)});
  return rows;
}

std::string AuditPartyText(const std::string& client, const std::string& seq, const std::string& address) {
  if (client.empty() || seq.empty()) return client;
  return client + " seq " + seq + " end " + address;
}
