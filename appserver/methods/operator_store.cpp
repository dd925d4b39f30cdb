#include "methods/operator_store.h"

#include "methods/packet_builder.h"
#include "methods/packet_shapes.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace operator_store {

namespace {

// The approving roles; any other operator is unknown to the password dialog.
constexpr const char* kApprovers = "o.IDPAPEL IN ('SUPERVISOR', 'GERENTE')";

}  // namespace

// CDSENHOPER says only whether a password is stored ("S"), so nothing a
// client holds can be tried against the digest offline.
DataPacket Approvers(Database& db, const std::string& code) {
  Statement st = db.prepare(std::string(
      "SELECT o.CDOPERADOR, COALESCE(o.CDVENDEDOR, ''), COALESCE(v.NMFANVEN, ''),"
      "       CASE WHEN COALESCE(o.CDSENHOPER, '') <> '' THEN 'S' ELSE '' END, o.NMOPERADOR"
      "  FROM OPERADOR o LEFT JOIN VENDEDOR v ON v.CDVENDEDOR = o.CDVENDEDOR"
      " WHERE ") + kApprovers + " AND (?1 = 'T' OR o.CDOPERADOR = ?1) ORDER BY o.CDOPERADOR");
  st.bind(1, code);
  return QueryPacket(st, OperatorShape());
}

std::optional<std::string> ApproverPassword(Database& db, const std::string& code) {
  Statement st = db.prepare(std::string("SELECT COALESCE(o.CDSENHOPER, '') FROM OPERADOR o WHERE ") + kApprovers +
                            " AND o.CDOPERADOR = ?1");
  st.bind(1, code);
  if (!st.step()) return std::nullopt;
  return st.text(0);
}

// Conditional on the stored digest, so a password changed meanwhile is kept.
void ReplacePassword(Database& db, const std::string& code, const std::string& stored, const std::string& rehashed) {
  Statement st = db.prepare("UPDATE OPERADOR SET CDSENHOPER = ?2 WHERE CDOPERADOR = ?1 AND CDSENHOPER = ?3");
  st.bindAll(code, rehashed, stored).run();
}

}  // namespace operator_store
