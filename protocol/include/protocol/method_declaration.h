#pragma once
// How a remote method of the application server is declared, once, for the
// client that calls it and the server that answers it.
//
// A declaration is a struct named after the method: its members are the
// arguments in their wire order, `kName` is the method's name and
// `Arguments()` lists every member with its name and whether the server
// writes it back (by reference). The member's type is the argument's kind:
// std::string text, double number, DateTime date, Variant any value (packet,
// array or scalar). The client fills the struct by member name and the
// server reads it by member name, so the two sides cannot disagree on order,
// count or kind. Header-only; everything here is thread-safe (no state).

#include <cstddef>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "data/variant.h"

namespace protocol {

// What one argument travels as.
enum class ArgKind {
  Text,    // a code or value as text; null and integers are accepted as their text
  Number,  // a double; integers and numeric texts are accepted
  Date,    // a date-time; numbers are accepted as days
  Any,     // packet, array or scalar
};

// Whether the server's changes to an argument come back to the caller.
enum class Passing { ByValue, ByRef };

template <class T>
inline constexpr bool kNotAnArgumentType = false;

template <class T>
constexpr ArgKind KindOf() {
  if constexpr (std::is_same_v<T, std::string>) return ArgKind::Text;
  else if constexpr (std::is_same_v<T, double>) return ArgKind::Number;
  else if constexpr (std::is_same_v<T, DateTime>) return ArgKind::Date;
  else if constexpr (std::is_same_v<T, Variant>) return ArgKind::Any;
  else static_assert(kNotAnArgumentType<T>, "an argument is std::string, double, DateTime or Variant");
}

// One argument of method `M`: its name and the member that holds it.
template <class M, class T>
struct Arg {
  std::string_view name;
  T M::*member;
  Passing passing = Passing::ByValue;
  static constexpr ArgKind kind = KindOf<T>();
};
template <class M, class T>
Arg(std::string_view, T M::*) -> Arg<M, T>;
template <class M, class T>
Arg(std::string_view, T M::*, Passing) -> Arg<M, T>;

// An argument as a run-time description, for checking calls and listing methods.
struct ArgInfo {
  std::string_view name;
  ArgKind kind;
  Passing passing;
};

template <class M>
std::vector<ArgInfo> Describe() {
  std::vector<ArgInfo> out;
  std::apply([&](const auto&... a) { (out.push_back({a.name, a.kind, a.passing}), ...); }, M::Arguments());
  return out;
}

// The argument that names the operator making the call is named `operador`:
// the server refuses a call whose `operador` is not the operator its
// connection logged in as. An argument naming some other operator (one looked
// up, one approving) must be named otherwise.
inline constexpr std::string_view kCallerOperatorArg = "operador";

// The position of the caller's operator among M's arguments; -1 when M has none.
template <class M>
int CallerOperatorIndex() {
  int index = 0;
  for (const ArgInfo& arg : Describe<M>()) {
    if (arg.name == kCallerOperatorArg) return index;
    ++index;
  }
  return -1;
}

template <class M>
constexpr std::size_t ArgCount() {
  return std::tuple_size_v<decltype(M::Arguments())>;
}

// How many leading arguments a caller must send. A declaration that grew
// trailing arguments after callers existed says so with
// `kRequiredArguments`: the ones left out arrive as null (empty text).
template <class M>
constexpr std::size_t RequiredArgCount() {
  if constexpr (requires { M::kRequiredArguments; })
    return M::kRequiredArguments;
  else
    return ArgCount<M>();
}

namespace detail {
inline void Assign(std::string& to, const Variant& from) { to = from.asText(); }
inline void Assign(double& to, const Variant& from) { to = from.asDouble(); }
inline void Assign(DateTime& to, const Variant& from) { to = from.asDate(); }
inline void Assign(Variant& to, const Variant& from) { to = from; }
}  // namespace detail

// The positional arguments a call sends.
template <class M>
std::vector<Variant> Encode(const M& call) {
  std::vector<Variant> out;
  out.reserve(ArgCount<M>());
  std::apply([&](const auto&... a) { (out.emplace_back(call.*(a.member)), ...); }, M::Arguments());
  return out;
}

// The call as received; `values` holds exactly the declared count, of kinds
// the server already checked. A value of the wrong kind throws
// std::runtime_error naming the kinds.
template <class M>
M Decode(const std::vector<Variant>& values) {
  M call{};
  std::size_t i = 0;
  std::apply([&](const auto&... a) { (detail::Assign(call.*(a.member), values.at(i++)), ...); }, M::Arguments());
  return call;
}

// Server side: the by-reference arguments as the handler left them, into the
// values that go back with the answer.
template <class M>
void WriteBack(const M& call, std::vector<Variant>& values) {
  std::size_t i = 0;
  auto one = [&](const auto& a) {
    if (a.passing == Passing::ByRef) values.at(i) = Variant(call.*(a.member));
    ++i;
  };
  std::apply([&](const auto&... a) { (one(a), ...); }, M::Arguments());
}

// Client side: the by-reference arguments as the server sent them back.
template <class M>
void ReadBack(M& call, const std::vector<Variant>& values) {
  std::size_t i = 0;
  auto one = [&](const auto& a) {
    if (a.passing == Passing::ByRef && i < values.size()) detail::Assign(call.*(a.member), values[i]);
    ++i;
  };
  std::apply([&](const auto&... a) { (one(a), ...); }, M::Arguments());
}

// A list of declared methods, walked at compile time.
template <class... Methods>
struct MethodList {
  template <class F>
  static void ForEach(F&& f) {
    (f.template operator()<Methods>(), ...);
  }
  static constexpr std::size_t size = sizeof...(Methods);
};

}  // namespace protocol
