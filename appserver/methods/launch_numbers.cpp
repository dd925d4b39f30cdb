#include "methods/launch_numbers.h"

#include "net/refusal.h"
#include "storage/database.h"
#include "storage/statement.h"

std::int64_t LastLaunch(Database& db, const std::string& branch) {
  Statement last = db.prepare(
      "SELECT MAX(n) FROM (SELECT MAX(CAST(NRLANCTONF AS BIGINT)) AS n FROM CONTARECEBER WHERE CDFILIAL = ?1"
      "                    UNION ALL SELECT MAX(CAST(NRLANCTONF AS BIGINT)) FROM CONTAPAGAR WHERE CDFILIAL = ?1) AS launches");
  last.bind(1, branch);
  last.step();
  return last.isNull(0) ? 0 : last.integer(0);
}

std::string LaunchText(std::int64_t number, const std::string& branch) {
  if (number > 9999999999LL) throw Refusal("Numeração de lançamentos esgotada na filial " + branch + ".");
  const std::string text = std::to_string(number);
  return std::string(10 - text.size(), '0') + text;
}
