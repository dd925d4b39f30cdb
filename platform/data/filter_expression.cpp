#include "filter_expression.h"

#include <charconv>
#include <string>
#include <vector>

#include "data/exceptions.h"
#include "data/formats.h"
#include "data/text_compare.h"
#include "data/value_compare.h"

namespace {

using Id = RecordStore::Id;

// --- tokens ---

enum class Tok { Name, Text, Number, Op, LParen, RParen, End };

struct Token {
  Tok kind;
  std::string text;  // name, literal text, number digits or operator
};

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

std::vector<Token> Tokenize(std::string_view s) {
  std::vector<Token> out;
  std::size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
    } else if (c == '\'' || c == '"') {
      std::string text;
      ++i;
      for (;;) {
        if (i >= s.size()) throw Exception("texto sem aspas de fechamento");
        if (s[i] == c) {
          if (i + 1 < s.size() && s[i + 1] == c) {
            text.push_back(c);
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        text.push_back(s[i++]);
      }
      out.push_back({Tok::Text, text});
    } else if (c == '[') {
      std::size_t end = s.find(']', i);
      if (end == std::string_view::npos) throw Exception("nome de campo sem ']'");
      out.push_back({Tok::Name, std::string(s.substr(i + 1, end - i - 1))});
      i = end + 1;
    } else if (IsNameStart(c)) {
      std::size_t b = i;
      while (i < s.size() && IsNameChar(s[i])) ++i;
      out.push_back({Tok::Name, std::string(s.substr(b, i - b))});
    } else if ((c >= '0' && c <= '9') || (c == '-' && i + 1 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '9')) {
      std::size_t b = i++;
      while (i < s.size() && ((s[i] >= '0' && s[i] <= '9') || s[i] == '.')) ++i;
      out.push_back({Tok::Number, std::string(s.substr(b, i - b))});
    } else if (c == '(' || c == ')') {
      out.push_back({c == '(' ? Tok::LParen : Tok::RParen, std::string(1, c)});
      ++i;
    } else if (c == '=' || c == '<' || c == '>' || c == '!') {
      std::string op(1, c);
      if (i + 1 < s.size() && (s[i + 1] == '=' || (c == '<' && s[i + 1] == '>'))) op.push_back(s[i + 1]);
      if (op == "!") throw Exception("operador '!' desconhecido");
      i += op.size();
      out.push_back({Tok::Op, op == "!=" ? "<>" : op});
    } else {
      throw Exception(std::string("caractere '") + c + "' inesperado");
    }
  }
  out.push_back({Tok::End, ""});
  return out;
}

// --- values being compared ---

struct Scalar {
  bool null = false;
  std::string_view text;
  double number = 0;
};

enum class Class { Text, Number };

Class ClassOf(FieldType t) {
  return t == FieldType::String || t == FieldType::FixedString ? Class::Text : Class::Number;
}

// A field of the record or a constant already brought to the compared type.
struct Operand {
  bool isField = false;
  FilterExpression::FieldRef field{};
  bool literalIsText = false;
  std::string text;
  double number = 0;
  bool null = false;

  Scalar Get(const RecordStore& store, Id id) const {
    Scalar s;
    if (!isField) {
      s.null = null;
      s.text = text;
      s.number = number;
      return s;
    }
    if (ClassOf(field.type) == Class::Text) {
      s.text = store.Text(id, field.index);
      if (field.type == FieldType::FixedString) s.text = TrimRight(s.text);
    } else {
      s.null = store.IsNull(id, field.index);
      s.number = store.Number(id, field.index);
    }
    return s;
  }
};

// Makes a constant comparable with a field of type `type`.
void Convert(Operand& constant, FieldType type) {
  if (ClassOf(type) == Class::Text) {
    if (!constant.literalIsText) return;  // a number literal keeps its digits as text
    if (type == FieldType::FixedString) constant.text = std::string(TrimRight(constant.text));
    return;
  }
  if (!constant.literalIsText) return;
  if (type == FieldType::DateTime) {
    auto d = ParseDate(constant.text);
    if (!d) throw Exception("'" + constant.text + "' não é uma data válida");
    constant.number = d->days;
  } else if (type == FieldType::Boolean) {
    std::string f = FoldCase(constant.text);
    if (f == "true" || f == "s") constant.number = 1;
    else if (f == "false" || f == "n") constant.number = 0;
    else throw Exception("'" + constant.text + "' não é um valor lógico válido");
  } else {
    auto n = ParseFloat(constant.text);
    if (!n) throw Exception("'" + constant.text + "' não é um valor numérico válido");
    constant.number = *n;
  }
}

// --- nodes ---

class Node : public FilterExpression {};

class Comparison : public Node {
 public:
  Comparison(Operand l, std::string op, Operand r, Class cls)
      : l_(std::move(l)), r_(std::move(r)), op_(std::move(op)), cls_(cls) {}
  bool Matches(const RecordStore& store, Id id) const override {
    Scalar a = l_.Get(store, id), b = r_.Get(store, id);
    int c;
    if (cls_ == Class::Text) {
      c = CompareText(a.text, b.text);
    } else {
      if (a.null || b.null) {
        bool both = a.null && b.null;
        if (op_ == "=") return both;
        if (op_ == "<>") return !both;
        return false;
      }
      c = a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    }
    if (op_ == "=") return c == 0;
    if (op_ == "<>") return c != 0;
    if (op_ == "<") return c < 0;
    if (op_ == "<=") return c <= 0;
    if (op_ == ">") return c > 0;
    return c >= 0;
  }

 private:
  Operand l_, r_;
  std::string op_;
  Class cls_;
};

class NullTest : public Node {
 public:
  NullTest(Operand o, bool negate) : o_(std::move(o)), negate_(negate) {}
  bool Matches(const RecordStore& store, Id id) const override {
    bool null = o_.isField ? store.IsNull(id, o_.field.index) || (ClassOf(o_.field.type) == Class::Text &&
                                                                   TrimRight(store.Text(id, o_.field.index)).empty())
                           : o_.null;
    return null != negate_;
  }

 private:
  Operand o_;
  bool negate_;
};

class Logical : public Node {
 public:
  Logical(std::unique_ptr<Node> l, std::unique_ptr<Node> r, bool isAnd)
      : l_(std::move(l)), r_(std::move(r)), and_(isAnd) {}
  bool Matches(const RecordStore& store, Id id) const override {
    return and_ ? l_->Matches(store, id) && r_->Matches(store, id) : l_->Matches(store, id) || r_->Matches(store, id);
  }

 private:
  std::unique_ptr<Node> l_, r_;
  bool and_;
};

class Negation : public Node {
 public:
  explicit Negation(std::unique_ptr<Node> n) : n_(std::move(n)) {}
  bool Matches(const RecordStore& store, Id id) const override { return !n_->Matches(store, id); }

 private:
  std::unique_ptr<Node> n_;
};

// --- parser ---

class Parser {
 public:
  Parser(std::vector<Token> tokens, const FilterExpression::Resolver& resolve)
      : t_(std::move(tokens)), resolve_(resolve) {}

  std::unique_ptr<Node> Parse() {
    auto n = Or();
    if (Peek().kind != Tok::End) throw Exception("'" + Peek().text + "' inesperado");
    return n;
  }

 private:
  const Token& Peek() const { return t_[pos_]; }
  bool IsKeyword(const char* word) const {
    return Peek().kind == Tok::Name && EqualsNoCase(Peek().text, word);
  }

  std::unique_ptr<Node> Or() {
    auto l = And();
    while (IsKeyword("OR")) {
      ++pos_;
      l = std::make_unique<Logical>(std::move(l), And(), false);
    }
    return l;
  }

  std::unique_ptr<Node> And() {
    auto l = Not();
    while (IsKeyword("AND")) {
      ++pos_;
      l = std::make_unique<Logical>(std::move(l), Not(), true);
    }
    return l;
  }

  std::unique_ptr<Node> Not() {
    if (IsKeyword("NOT")) {
      ++pos_;
      return std::make_unique<Negation>(Not());
    }
    if (Peek().kind == Tok::LParen) {
      ++pos_;
      auto n = Or();
      if (Peek().kind != Tok::RParen) throw Exception("falta ')'");
      ++pos_;
      return n;
    }
    return Compare();
  }

  Operand Value() {
    Token tok = Peek();
    Operand o;
    if (tok.kind == Tok::Text) {
      o.literalIsText = true;
      o.text = tok.text;
    } else if (tok.kind == Tok::Number) {
      o.text = tok.text;
      auto res = std::from_chars(tok.text.data(), tok.text.data() + tok.text.size(), o.number);
      if (res.ec != std::errc() || res.ptr != tok.text.data() + tok.text.size())
        throw Exception("número '" + tok.text + "' inválido");
    } else if (tok.kind == Tok::Name && EqualsNoCase(tok.text, "NULL")) {
      o.null = true;
    } else if (tok.kind == Tok::Name) {
      auto f = resolve_(tok.text);
      if (!f) throw Exception("campo '" + tok.text + "' não encontrado");
      o.isField = true;
      o.field = *f;
    } else {
      throw Exception(tok.kind == Tok::End ? "expressão incompleta" : "'" + tok.text + "' inesperado");
    }
    ++pos_;
    return o;
  }

  std::unique_ptr<Node> Compare() {
    Operand l = Value();
    if (IsKeyword("IS")) {
      ++pos_;
      bool negate = false;
      if (IsKeyword("NOT")) {
        ++pos_;
        negate = true;
      }
      if (!IsKeyword("NULL")) throw Exception("esperado NULL depois de IS");
      ++pos_;
      return std::make_unique<NullTest>(std::move(l), negate);
    }
    if (Peek().kind != Tok::Op) throw Exception(Peek().kind == Tok::End ? "expressão incompleta" : "esperado um operador de comparação em '" + Peek().text + "'");
    std::string op = t_[pos_++].text;
    Operand r = Value();
    return std::make_unique<Comparison>(l, op, r, Unify(l, r));
  }

  // Brings constants to the type of the field they meet; says how to compare.
  static Class Unify(Operand& l, Operand& r) {
    if (l.isField && r.isField) {
      if (ClassOf(l.field.type) != ClassOf(r.field.type)) throw Exception("campos de tipos diferentes comparados");
      return ClassOf(l.field.type);
    }
    if (l.isField || r.isField) {
      Operand& f = l.isField ? l : r;
      Operand& c = l.isField ? r : l;
      if (!c.null) Convert(c, f.field.type);
      return ClassOf(f.field.type);
    }
    return l.literalIsText || r.literalIsText ? Class::Text : Class::Number;
  }

  std::vector<Token> t_;
  std::size_t pos_ = 0;
  const FilterExpression::Resolver& resolve_;
};

}  // namespace

std::unique_ptr<FilterExpression> FilterExpression::Parse(std::string_view text, const Resolver& resolve) {
  Parser p(Tokenize(text), resolve);
  return p.Parse();
}
