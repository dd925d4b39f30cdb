#include "dispatch.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

Dispatcher MakeDispatcher() {
  Dispatcher d;
  d.add({"Concat", {ArgKind::Text, ArgKind::Text}, [](CallArgs& a) { return Variant(a.text(0) + "|" + a.text(1)); }});
  d.add({"Twice", {ArgKind::Number}, [](CallArgs& a) { return Variant(a.number(0) * 2); }});
  d.add({"Take", {ArgKind::Any}, [](CallArgs& a) {
           a.raw(0) = Variant("devolvido");
           return Variant(true);
         }});
  d.add({"Refuse", {}, [](CallArgs&) -> Variant { throw std::runtime_error("N_PARAM_TIPOOPER"); }});
  return d;
}

std::string ErrorOf(const Dispatcher& d, const std::string& method, std::vector<Variant> args) {
  try {
    d.call(method, args);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(sem erro)";
}

TEST(DispatcherTest, RefusesUnknownMethodsAndWrongCounts) {
  Dispatcher d = MakeDispatcher();
  EXPECT_EQ(ErrorOf(d, "GetNada", {}), "Método desconhecido: GetNada");
  EXPECT_EQ(ErrorOf(d, "concat", {"a", "b"}), "Método desconhecido: concat");
  EXPECT_EQ(ErrorOf(d, "Concat", {"a"}), "Concat espera 2 argumentos, recebeu 1.");
  EXPECT_EQ(ErrorOf(d, "Concat", {"a", "b", "c"}), "Concat espera 2 argumentos, recebeu 3.");
  EXPECT_EQ(ErrorOf(d, "Twice", {}), "Twice espera 1 argumento, recebeu 0.");
}

TEST(DispatcherTest, RefusesArgumentsOfTheWrongKind) {
  Dispatcher d = MakeDispatcher();
  EXPECT_EQ(ErrorOf(d, "Concat", {"a", MakeArray({1})}), "Concat: o argumento 2 deve ser texto, recebeu lista.");
  EXPECT_EQ(ErrorOf(d, "Concat", {2.5, "b"}), "Concat: o argumento 1 deve ser texto, recebeu número.");
  EXPECT_EQ(ErrorOf(d, "Twice", {"doze"}), "Twice: o argumento 1 deve ser número, recebeu texto.");
  EXPECT_EQ(ErrorOf(d, "Twice", {Variant()}), "Twice: o argumento 1 deve ser número, recebeu nulo.");
}

TEST(DispatcherTest, AcceptsHarmlessSubstitutes) {
  Dispatcher d = MakeDispatcher();
  std::vector<Variant> args{Variant(7), Variant()};
  EXPECT_EQ(d.call("Concat", args).asText(), "7|");
  std::vector<Variant> number{Variant("1,5")};
  EXPECT_DOUBLE_EQ(d.call("Twice", number).asDouble(), 3.0);
}

TEST(DispatcherTest, HandlerErrorsPassUnchangedAndArgumentsComeBack) {
  Dispatcher d = MakeDispatcher();
  EXPECT_EQ(ErrorOf(d, "Refuse", {}), "N_PARAM_TIPOOPER");
  std::vector<Variant> args{MakeArray({1, 2})};
  EXPECT_TRUE(d.call("Take", args).asBool());
  EXPECT_EQ(args[0].asText(), "devolvido");
}

TEST(DispatcherTest, RefusesRegisteringANameTwice) {
  Dispatcher d = MakeDispatcher();
  EXPECT_THROW(d.add({"Twice", {}, [](CallArgs&) { return Variant(); }}), std::logic_error);
  EXPECT_TRUE(d.has("Twice"));
}

}  // namespace
