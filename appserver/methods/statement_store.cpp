#include "methods/statement_store.h"

#include <cstdio>
#include <ctime>

#include "methods/rescission_rules.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace statement_store {

namespace {

using rescission_store::BudgetKey;

std::optional<double> OptionalReal(const Statement& st, int col) {
  if (st.isNull(col)) return std::nullopt;
  return st.real(col);
}

// The trail's rows that tell a rescission's story.
constexpr const char* kRescissionMethods =
    "('Distrato', 'ConsolidaDistrato', 'DesfazerDistrato', 'DistratoTotal', 'ConsolidaDistratoTotal')";

// The party's own rows of the trail: rows written before contracts were
// named carry the client alone.
constexpr const char* kPartyRows =
    " CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?4"
    " AND (NRSEQORCAEVE = '' OR NRSEQORCAEVE = ?3) AND (NRENDCLIORCEVE = '' OR NRENDCLIORCEVE = ?5)";

// The amounts text of the party's newest trail row of `method`.
std::string NewestAmounts(Database& db, const BudgetKey& b, const PartyKey& k, const char* method) {
  Statement st = db.prepare(std::string("SELECT DSVALORES FROM AUDITORIA WHERE") + kPartyRows +
                            " AND NMMETODO = ?6 ORDER BY NRAUDITORIA DESC");
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address, method);
  return st.step() ? st.text(0) : "";
}

}  // namespace

Heading ReadHeading(Database& db, const BudgetKey& b, const std::string& seq) {
  Statement st = db.prepare(
      "SELECT COALESCE(e.NMEMPRESA, ''), COALESCE(e.NRINSJUREMPR, ''), f.NMFILIAL, COALESCE(c.NMRAZSOCCLIE, ''),"
      "       o.DTEVENTO, f.DTPROCESSAMENTO"
      "  FROM ORCAEVENTO o JOIN FILIAL f ON f.CDFILIAL = o.CDFILIAL"
      "  LEFT JOIN EMPRESA e ON e.CDEMPRESA = o.CDEMPRESA"
      "  LEFT JOIN CLIENTE c ON c.CDCLIENTE = o.CDCLIENTE"
      " WHERE o.CDFILIAL = ?1 AND o.NRORCAEVENTO = ?2 AND o.NRSEQORCAEVE = ?3");
  st.bindAll(b.branch, b.budget, seq);
  Heading h;
  if (!st.step()) return h;
  h.company = st.text(0);
  h.companyRegistration = st.text(1);
  h.branchName = st.text(2);
  h.budgetClient = st.text(3);
  h.eventDay = OptionalReal(st, 4);
  h.processingDay = OptionalReal(st, 5);
  return h;
}

bool QuotasTransferred(Database& db, const BudgetKey& b, const PartyKey& k) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4"
      "   AND NRENDCLIORCEVE = ?5 AND IDTRANSFCOTAREALI = 'S'");
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address);
  return st.step();
}

std::string CorporateName(Database& db, const std::string& client) {
  Statement st = db.prepare("SELECT NMRAZSOCCLIE FROM CLIENTE WHERE CDCLIENTE = ?1");
  st.bind(1, client);
  return st.step() ? st.text(0) : "";
}

bool WasUndone(Database& db, const BudgetKey& b, const PartyKey& k) {
  Statement st = db.prepare(std::string("SELECT 1 FROM AUDITORIA WHERE") + kPartyRows +
                            " AND NMMETODO = 'DesfazerDistrato'");
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address);
  return st.step();
}

Values UndoneValues(Database& db, const BudgetKey& b, const PartyKey& k) {
  Values v;
  const std::string undo = NewestAmounts(db, b, k, "DesfazerDistrato");
  v.negotiated = AmountAfter(undo, "negociado ");
  v.fine = AmountAfter(undo, "multa ");
  const std::string rescission = NewestAmounts(db, b, k, "Distrato");
  for (const char* account : {kAccountReceivable, kAccountPayable})
    if (rescission.find(account) != std::string::npos) v.account = account;
  return v;
}

std::vector<PartyKey> UndoneParties(Database& db, const BudgetKey& b) {
  Statement st = db.prepare(
      "SELECT DISTINCT c.NRSEQORCAEVE, c.CDCLIENTE, c.NRENDCLIORCEVE"
      "  FROM AUDITORIA a JOIN CONTRATANTE c ON c.CDFILIAL = a.CDFILIAL AND c.NRORCAEVENTO = a.NRORCAEVENTO"
      "   AND c.CDCLIENTE = a.CDCLIENTE AND (a.NRSEQORCAEVE = '' OR a.NRSEQORCAEVE = c.NRSEQORCAEVE)"
      "   AND (a.NRENDCLIORCEVE = '' OR a.NRENDCLIORCEVE = c.NRENDCLIORCEVE)"
      " WHERE a.CDFILIAL = ?1 AND a.NRORCAEVENTO = ?2 AND a.NMMETODO = 'DesfazerDistrato'"
      "   AND c.IDCONTPROCESDIST = 'N' AND c.IDORIGEMINCLUSAO <> 'DISTRATO'"
      " ORDER BY c.NRSEQORCAEVE, c.CDCLIENTE, c.NRENDCLIORCEVE");
  st.bindAll(b.branch, b.budget);
  std::vector<PartyKey> keys;
  while (st.step()) keys.push_back({st.text(0), st.text(1), st.text(2)});
  return keys;
}

std::vector<CancelledInstallment> CancelledInstallments(Database& db, const BudgetKey& b, const PartyKey& k) {
  // Cancelled receivables of the party's own (not those a rescission generated).
  Statement st = db.prepare(
      "SELECT NRLANCTONF, NRPARCELAREC, DOCUMENTO, DTATUAVENREC, VRATUAREC FROM CONTARECEBER"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5"
      "   AND IDSTATREC = 'C' AND IDORIGNFORCA NOT IN ('I', 'T')"
      " ORDER BY DTATUAVENREC, NRLANCTONF, NRPARCELAREC, NRSEQVENREC");
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address);
  std::vector<CancelledInstallment> rows;
  while (st.step()) rows.push_back({st.text(0), st.text(1), st.text(2), st.real(3), st.integer(4)});
  return rows;
}

std::vector<GeneratedInstallment> GeneratedAccounts(Database& db, const BudgetKey& b, const PartyKey& k) {
  Statement st = db.prepare(
      "SELECT 'RECEBER', r.DOCUMENTO, r.NRPARCELAREC, r.IDSTATREC, r.DTATUAVENREC, r.VRATUAREC,"
      "       COALESCE(a.CDBANCO, ''), COALESCE(a.CDAGENCIA, ''), COALESCE(r.CDCONTCORR, ''),"
      "       COALESCE(a.DSCONTCORR, ''), r.NRLANCTONF"
      "  FROM CONTARECEBER r LEFT JOIN CONTACORRENTE a ON a.CDEMPRESA = r.CDEMPRESA AND a.CDCONTCORR = r.CDCONTCORR"
      " WHERE r.CDFILIAL = ?1 AND r.NRORCAEVENTO = ?2 AND r.NRSEQORCAEVE = ?3 AND r.CDCLIENTE = ?4"
      "   AND r.NRENDCLIORCEVE = ?5 AND r.IDORIGNFORCA IN ('I', 'T')"
      " UNION ALL "
      "SELECT 'PAGAR', DOCUMENTO, NRPARCELAPAG, IDSTATPAG, DTATUAVENPAG, VRATUAPAG, '', '', '', '', NRLANCTONF"
      "  FROM CONTAPAGAR"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4"
      "   AND NRENDCLIORCEVE = ?5 AND IDORIGNFORCA IN ('I', 'T')"
      " ORDER BY 5, 11, 3");
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address);
  std::vector<GeneratedInstallment> rows;
  while (st.step())
    rows.push_back({st.text(0), st.text(1), st.text(2), st.text(3), st.real(4), st.integer(5), st.text(6), st.text(7),
                    st.text(8), st.text(9)});
  return rows;
}

std::vector<HistoryEntry> History(Database& db, const BudgetKey& b, const PartyKey& k, bool total) {
  Statement st = db.prepare(
      std::string("SELECT a.DTHRAUDITORIA, a.NMMETODO, a.CDOPERADOR, COALESCE(o.NMOPERADOR, ''), a.CDOPERAPROV,"
                  "       COALESCE(p.NMOPERADOR, ''), a.DSVALORES, a.CDCLIENTE"
                  "  FROM AUDITORIA a LEFT JOIN OPERADOR o ON o.CDOPERADOR = a.CDOPERADOR"
                  "  LEFT JOIN OPERADOR p ON p.CDOPERADOR = a.CDOPERAPROV"
                  " WHERE a.NMMETODO IN ") +
      kRescissionMethods +
      "   AND a.CDFILIAL = ?1 AND a.NRORCAEVENTO = ?2"
      "   AND ((a.CDCLIENTE = ?4 AND (a.NRSEQORCAEVE = '' OR a.NRSEQORCAEVE = ?3)"
      "         AND (a.NRENDCLIORCEVE = '' OR a.NRENDCLIORCEVE = ?5))"
      "        OR (?6 = 1 AND a.CDCLIENTE = ''))"
      " ORDER BY a.NRAUDITORIA");
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address, total ? 1 : 0);
  std::vector<HistoryEntry> rows;
  while (st.step())
    rows.push_back({st.text(0), st.text(1), st.text(2), st.text(3), st.text(4), st.text(5), st.text(6),
                    st.text(7).empty()});
  return rows;
}

std::optional<Cents> AmountAfter(const std::string& text, const std::string& label) {
  const std::size_t at = text.find(label);
  if (at == std::string::npos) return std::nullopt;
  Cents cents = 0;
  bool negative = false, digits = false;
  for (std::size_t i = at + label.size(); i < text.size(); ++i) {
    const char c = text[i];
    if (c == '-' && !digits) {
      negative = true;
    } else if (c >= '0' && c <= '9') {
      cents = cents * 10 + (c - '0');
      digits = true;
    } else if (c != '.' && c != ',') {
      break;
    }
  }
  if (!digits) return std::nullopt;
  return negative ? -cents : cents;
}

std::string LocalStampText(const std::string& utc) {
  std::tm t{};
  if (std::sscanf(utc.c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &t.tm_year, &t.tm_mon, &t.tm_mday, &t.tm_hour, &t.tm_min,
                  &t.tm_sec) != 6)
    return utc;
  t.tm_year -= 1900;
  t.tm_mon -= 1;
  const std::time_t when = timegm(&t);
  std::tm local{};
  localtime_r(&when, &local);
  char out[64];
  std::snprintf(out, sizeof out, "%02d/%02d/%04d %02d:%02d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                local.tm_hour, local.tm_min);
  return out;
}

}  // namespace statement_store
