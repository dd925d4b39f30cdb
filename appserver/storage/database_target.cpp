#include "storage/database_target.h"

#include <regex>

namespace storage {

bool IsPostgresTarget(const std::string& target) {
  static const std::regex kPostgres(R"(^(postgres(ql)?://.*|\s*[A-Za-z_]+\s*=.*)$)");
  return std::regex_match(target, kPostgres);
}

std::string RedactedTarget(const std::string& target) {
  if (!IsPostgresTarget(target)) return target;
  static const std::regex kUriPassword(R"(^(postgres(ql)?://[^:@/]*):[^@/]*@)");
  static const std::regex kKeywordPassword(R"((password\s*=\s*)('([^'\\]|\\.)*'|\S*))");
  std::string out = std::regex_replace(target, kUriPassword, "$1:***@");
  out = std::regex_replace(out, kKeywordPassword, "$1***");
  static const std::regex kQueryPassword(R"(([?&]password=)[^&]*)");
  return std::regex_replace(out, kQueryPassword, "$1***");
}

}  // namespace storage
