#include "json.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

const Json* Json::find(std::string_view key) const {
  for (const auto& [k, v] : members)
    if (k == key) return &v;
  return nullptr;
}

namespace {

constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(std::string_view s) : s_(s) {}

  Json document() {
    Json v = value(0);
    skipSpace();
    if (pos_ != s_.size()) fail("texto após o valor");
    return v;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    throw JsonError("JSON inválido na posição " + std::to_string(pos_) + ": " + what + ".");
  }

  void skipSpace() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r')) ++pos_;
  }

  bool consume(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  void expect(char c) {
    skipSpace();
    if (pos_ >= s_.size() || s_[pos_] != c) fail(std::string("esperado '") + c + "'");
    ++pos_;
  }

  Json value(int depth) {
    if (depth > kMaxDepth) fail("aninhamento profundo demais");
    skipSpace();
    if (pos_ >= s_.size()) fail("valor ausente");
    Json v;
    char c = s_[pos_];
    if (c == '{') return object(depth);
    if (c == '[') return array(depth);
    if (c == '"') {
      v.kind = Json::Kind::String;
      v.text = string();
      return v;
    }
    if (consume("true")) {
      v.kind = Json::Kind::Bool;
      v.boolean = true;
      return v;
    }
    if (consume("false")) {
      v.kind = Json::Kind::Bool;
      return v;
    }
    if (consume("null")) return v;
    if (c == '-' || (c >= '0' && c <= '9')) return number();
    fail("valor inesperado");
  }

  Json array(int depth) {
    ++pos_;
    Json v;
    v.kind = Json::Kind::Array;
    skipSpace();
    if (pos_ < s_.size() && s_[pos_] == ']') {
      ++pos_;
      return v;
    }
    for (;;) {
      v.items.push_back(value(depth + 1));
      skipSpace();
      if (pos_ < s_.size() && s_[pos_] == ',') {
        ++pos_;
        continue;
      }
      expect(']');
      return v;
    }
  }

  Json object(int depth) {
    ++pos_;
    Json v;
    v.kind = Json::Kind::Object;
    skipSpace();
    if (pos_ < s_.size() && s_[pos_] == '}') {
      ++pos_;
      return v;
    }
    for (;;) {
      skipSpace();
      if (pos_ >= s_.size() || s_[pos_] != '"') fail("esperado nome de membro");
      std::string key = string();
      expect(':');
      v.members.emplace_back(std::move(key), value(depth + 1));
      skipSpace();
      if (pos_ < s_.size() && s_[pos_] == ',') {
        ++pos_;
        continue;
      }
      expect('}');
      return v;
    }
  }

  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

  Json number() {
    std::size_t start = pos_;
    bool integral = true;
    if (s_[pos_] == '-') ++pos_;
    if (pos_ >= s_.size() || !isDigit(s_[pos_])) fail("número malformado");
    if (s_[pos_] == '0') {
      ++pos_;
      if (pos_ < s_.size() && isDigit(s_[pos_])) fail("número com zero à esquerda");
    } else {
      while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
    }
    if (pos_ < s_.size() && s_[pos_] == '.') {
      integral = false;
      ++pos_;
      if (pos_ >= s_.size() || !isDigit(s_[pos_])) fail("número malformado");
      while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      integral = false;
      ++pos_;
      if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      if (pos_ >= s_.size() || !isDigit(s_[pos_])) fail("número malformado");
      while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
    }
    std::string_view digits = s_.substr(start, pos_ - start);
    Json v;
    if (integral) {
      auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v.integer);
      if (ec == std::errc() && end == digits.data() + digits.size()) {
        v.kind = Json::Kind::Int;
        return v;
      }
    }
    v.kind = Json::Kind::Double;
    v.number = std::strtod(std::string(digits).c_str(), nullptr);
    return v;
  }

  unsigned hex4() {
    if (pos_ + 4 > s_.size()) fail("escape \\u incompleto");
    unsigned u = 0;
    for (int i = 0; i < 4; ++i) {
      char c = s_[pos_++];
      u <<= 4;
      if (c >= '0' && c <= '9') u |= unsigned(c - '0');
      else if (c >= 'a' && c <= 'f') u |= unsigned(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') u |= unsigned(c - 'A' + 10);
      else fail("escape \\u malformado");
    }
    return u;
  }

  static void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  std::string string() {
    ++pos_;  // opening quote
    std::string out;
    for (;;) {
      if (pos_ >= s_.size()) fail("texto sem aspas de fechamento");
      char c = s_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) fail("caractere de controle em texto");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= s_.size()) fail("escape incompleto");
      char e = s_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned cp = hex4();
          if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (!consume("\\u")) fail("par substituto incompleto");
            unsigned low = hex4();
            if (low < 0xDC00 || low > 0xDFFF) fail("par substituto inválido");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            fail("par substituto inválido");
          }
          appendUtf8(out, cp);
          break;
        }
        default: fail("escape desconhecido");
      }
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

}  // namespace

Json ParseJson(std::string_view text) { return Parser(text).document(); }

void WriteJsonString(std::string& out, std::string_view s) {
  static const char* const kHex = "0123456789abcdef";
  out += '"';
  for (char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void WriteJsonDouble(std::string& out, double d) {
  if (!std::isfinite(d)) {
    out += "null";
    return;
  }
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  std::string_view text(buf, static_cast<std::size_t>(end - buf));
  out += text;
  if (text.find_first_of(".e") == std::string_view::npos) out += ".0";
}
