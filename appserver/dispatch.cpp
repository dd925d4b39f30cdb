#include "dispatch.h"

#include <algorithm>
#include <stdexcept>

#include "net/printable_text.h"
#include "net/refusal.h"

namespace {

bool accepts(ArgKind kind, const Variant& v) {
  using K = Variant::Kind;
  switch (kind) {
    case ArgKind::Text:
      return v.kind() == K::Text || v.kind() == K::Null || v.kind() == K::Int;
    case ArgKind::Number:
      if (v.kind() == K::Double || v.kind() == K::Int) return true;
      if (v.kind() == K::Text) {
        try {
          v.asDouble();
          return true;
        } catch (const std::exception&) {
          return false;
        }
      }
      return false;
    case ArgKind::Date:
      return v.kind() == K::Date || v.kind() == K::Double || v.kind() == K::Int;
    case ArgKind::Any:
      return true;
  }
  return false;
}

}  // namespace

const char* ArgKindName(ArgKind kind) {
  switch (kind) {
    case ArgKind::Text: return "texto";
    case ArgKind::Number: return "número";
    case ArgKind::Date: return "data";
    case ArgKind::Any: return "qualquer valor";
  }
  return "?";
}

std::string CallArgs::text(std::size_t i) const { return values_.at(i).asText(); }
double CallArgs::number(std::size_t i) const { return values_.at(i).asDouble(); }

void Dispatcher::add(MethodSpec spec) {
  if (!spec.handler) throw std::logic_error("Método sem tratador: " + spec.name);
  std::string name = spec.name;
  if (!methods_.emplace(name, std::move(spec)).second) throw std::logic_error("Método registrado duas vezes: " + name);
}

const std::vector<ArgKind>& Dispatcher::kinds(const std::string& name) const {
  auto it = methods_.find(name);
  if (it == methods_.end()) throw std::logic_error("Método desconhecido: " + name);
  return it->second.args;
}

bool Dispatcher::has(const std::string& name) const { return methods_.count(name) != 0; }

std::vector<std::string> Dispatcher::names() const {
  std::vector<std::string> out;
  for (const auto& [name, spec] : methods_) out.push_back(name);
  return out;
}

const MethodSpec* Dispatcher::find(const std::string& name) const {
  auto it = methods_.find(name);
  return it == methods_.end() ? nullptr : &it->second;
}

Variant Dispatcher::call(const std::string& method, std::vector<Variant>& args, const CallContext& context,
                         const CallGuard& guard) const {
  auto it = methods_.find(method);
  if (it == methods_.end()) throw Refusal("Método desconhecido: " + PrintableText(method));
  const MethodSpec& spec = it->second;
  const std::size_t n = spec.args.size();
  const std::size_t required = std::min(spec.required, n);
  if (args.size() < required || args.size() > n) {
    const std::string expected = required == n ? std::to_string(n) : "de " + std::to_string(required) + " a " +
                                                                         std::to_string(n);
    throw Refusal(method + " espera " + expected + (n == 1 ? " argumento" : " argumentos") +
                             ", recebeu " + std::to_string(args.size()) + ".");
  }
  // Trailing arguments an older caller leaves out arrive as null.
  args.resize(n);
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!accepts(spec.args[i], args[i]))
      throw Refusal(method + ": o argumento " + std::to_string(i + 1) + " deve ser " +
                               ArgKindName(spec.args[i]) + ", recebeu " + Variant::kindName(args[i].kind()) + ".");
  }
  if (guard) guard(spec, args);
  CallArgs callArgs(args, context);
  return spec.handler(callArgs);
}
