#include "methods/working_set_store.h"

#include "storage/database.h"
#include "storage/statement.h"

void ClearWorkingSet(Database& db, const BudgetKey& b) {
  for (const char* sql : {"DELETE FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2",
                          "DELETE FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"}) {
    Statement st = db.prepare(sql);
    st.bindAll(b.branch, b.budget).run();
  }
}
