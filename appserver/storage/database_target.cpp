#include "storage/database_target.h"

#include <regex>

namespace storage {

bool IsPostgresTarget(const std::string& target) {
  static const std::regex kPostgres(R"(^(postgres(ql)?://.*|\s*[A-Za-z_]+\s*=.*)$)");
  return std::regex_match(target, kPostgres);
}

std::string RedactedTarget(const std::string& target) {
  if (!IsPostgresTarget(target)) return target;
  static const std::regex kUri(R"(^postgres(ql)?://.*)");
  if (std::regex_match(target, kUri)) {
    static const std::regex kUriPassword(R"(^(postgres(ql)?://[^:@/]*):[^@/]*@)");
    static const std::regex kQueryPassword(R"(([?&]password=)[^&]*)");
    return std::regex_replace(std::regex_replace(target, kUriPassword, "$1:***@"), kQueryPassword, "$1***");
  }
  static const std::regex kKeywordPassword(R"((password\s*=\s*)('([^'\\]|\\.)*'|\S*))");
  return std::regex_replace(target, kKeywordPassword, "$1***");
}

}  // namespace storage
