// The list of contracting parties of a budget, every sequence included.

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_builder.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

Variant GetContratante(Database& db, const protocol::GetContratante& args) {
  // The budget's sequences are read once, not looked up again for every party.
  Statement st = db.prepare(
      "WITH o AS MATERIALIZED (SELECT NRSEQORCAEVE, IDSITUORCEVE FROM ORCAEVENTO"
      "                         WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2)"
      " SELECT p.IDORIGEMINCLUSAO, p.IDCONTPROCESDIST, p.NRSEQORCAEVE, p.CDCLIENTE, c.NRINSJURCLIE,"
      "       c.IDTPIJURCLIE, c.NMFANTCLIE, AMOUNT(p.VRRECECONTOREV), p.IDSITUCONTOREV, p.NMCONTCLIORE,"
      "       p.NRENDCLIORCEVE, c.NMRAZSOCCLIE, s.NMFANTCLIE, s.IDTPIJURCLIE, s.NRINSJURCLIE,"
      "       p.CDCLICONTSUBORE, p.IDTPDISTRATOREALI, p.IDCHECK, p.IDCONTRESPCOTAORCA, o.IDSITUORCEVE,"
      "       p.IDTRANSFCOTAREALI"
      "  FROM CONTRATANTE p"
      "  JOIN o ON o.NRSEQORCAEVE = p.NRSEQORCAEVE"
      "  JOIN CLIENTE c ON c.CDCLIENTE = p.CDCLIENTE"
      "  LEFT JOIN CLIENTE s ON s.CDCLIENTE = p.CDCLICONTSUBORE"
      " WHERE p.CDFILIAL = ?1 AND p.NRORCAEVENTO = ?2");
  st.bindAll(KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth));
  // Ordered by sequence, trade name, client and address.
  return QueryPacketOrdered(st, PartyShape(), {2, 6, 3, 10});
}

}  // namespace

void RegisterParties(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetContratante));
}
