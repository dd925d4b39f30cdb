#include "audit/audit_report.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "data/civil_date.h"

namespace {

// Width in characters, not bytes: names and amounts carry accents.
std::size_t Chars(const std::string& s) {
  return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

bool IsIsoDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  return IsRealDay(std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2)));
}

std::string FormatAuditTable(const std::vector<AuditRow>& rows) {
  if (rows.empty()) return "Nenhuma alteração registrada.\n";
  using Line = std::array<std::string, 8>;
  std::vector<Line> lines{{"Data/hora (UTC)", "Operador", "Método", "Filial", "Orçamento", "Contratante", "Valores",
                           "Aprovado por"}};
  for (const AuditRow& r : rows)
    lines.push_back({r.when, r.operatorCode, r.method, r.branch, r.budget, AuditPartyText(r.party, r.seq, r.address),
                     r.amounts, r.approver});
  std::array<std::size_t, 8> width{};
  for (const Line& l : lines)
    for (std::size_t c = 0; c < l.size(); ++c) width[c] = std::max(width[c], Chars(l[c]));
  std::string out;
  for (const Line& l : lines) {
    std::string text;
    for (std::size_t c = 0; c < l.size(); ++c) {
      text += l[c];
      if (c + 1 < l.size()) text += std::string(width[c] - Chars(l[c]) + 2, ' ');
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out += text + "\n";
  }
  return out;
}
