#include "value_compare.h"

#include <algorithm>

#include "data/text_compare.h"

namespace {

// Base letters of the Latin-1 letters U+00C0..U+00FF, so "Ação" sorts with "acao".
constexpr char kLatin1Base[] = "aaaaaaaceeeeiiiidnooooo\xD7ouuuuyts" "aaaaaaaceeeeiiiidnooooo\xF7ouuuuyty";

// Sort key of the character at s[i]: its base letter in lower case, or the byte itself.
unsigned NextKey(std::string_view s, std::size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i++]);
  if (c >= 'A' && c <= 'Z') return c + 0x20u;
  if (c == 0xC3 && i < s.size()) {
    unsigned char n = static_cast<unsigned char>(s[i]);
    if (n >= 0x80 && n <= 0xBF) {
      ++i;
      return static_cast<unsigned char>(kLatin1Base[n - 0x80]);
    }
  }
  return c;
}

}  // namespace

static bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

int CompareText(std::string_view a, std::string_view b) {
  // Identical leading bytes weigh the same; start comparing at the character where they part.
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  std::size_t d = static_cast<std::size_t>(std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin()).first - a.begin());
  if (d == a.size() && d == b.size()) return 0;
  while (d > 0 && ((d < a.size() && IsContinuation(a[d])) || (d < b.size() && IsContinuation(b[d])))) --d;
  std::size_t i = d, j = d;
  while (i < a.size() && j < b.size()) {
    unsigned ka = NextKey(a, i), kb = NextKey(b, j);
    if (ka != kb) return ka < kb ? -1 : 1;
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
  int c = a.compare(b);  // same letters: case and accents decide, consistently
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CompareCells(const RecordStore& store, RecordStore::Id a, RecordStore::Id b, std::size_t field) {
  bool an = store.IsNull(a, field), bn = store.IsNull(b, field);
  if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
  switch (store.Type(field)) {
    case FieldType::String: return CompareText(store.Text(a, field), store.Text(b, field));
    case FieldType::FixedString:
      return CompareText(TrimRight(store.Text(a, field)), TrimRight(store.Text(b, field)));
    default: {
      double x = store.Number(a, field), y = store.Number(b, field);
      return x < y ? -1 : (x > y ? 1 : 0);
    }
  }
}
