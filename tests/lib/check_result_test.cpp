#include <gtest/gtest.h>

#include "data/exceptions.h"
#include "data/packet.h"
#include "lib/consiste.h"

namespace {

std::string RefusalOf(const Variant& result) {
  try {
    CheckResultServ(result, true, 0);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "<no exception>";
}

}  // namespace

TEST(CheckResultServ, ReturnsThePayloadOfASuccess) {
  DataPacket packet({{"CDFILIAL", FieldType::String, 4}});
  packet.addRow({Variant("0001")});
  const Variant payload = CheckResultServ(MakeArray({true, Variant(packet)}), true, 0);
  ASSERT_TRUE(payload.isPacket());
  EXPECT_EQ(payload.asPacket().at(0, "CDFILIAL").asText(), "0001");

  const Variant pair = CheckResultServ(MakeArray({true, MakeArray({Variant(3), Variant("x")})}), true, 0);
  EXPECT_EQ(pair[1].asText(), "x");
  EXPECT_TRUE(CheckResultServ(MakeArray({true, Variant()}), true, 0).isNull());
}

TEST(CheckResultServ, RaisesTheServerMessageUnchanged) {
  EXPECT_EQ(RefusalOf(MakeArray({false, "N_PARAM_TPCTREC|V"})), "N_PARAM_TPCTREC|V");
  EXPECT_EQ(RefusalOf(MakeArray({false, "Orçamento bloqueado. "})), "Orçamento bloqueado. ");
}

TEST(CheckResultServ, RaisesEvenWhenTheCallerPassesOtherFlags) {
  EXPECT_THROW(CheckResultServ(MakeArray({false, "recusado"}), false, 1), Exception);
}

TEST(CheckResultServ, ARefusalWithoutTextStillSaysSomething) {
  EXPECT_NE(RefusalOf(MakeArray({false, ""})), "");
  EXPECT_NE(RefusalOf(MakeArray({false, Variant()})), "");
}

TEST(CheckResultServ, RefusesMalformedResults) {
  const std::string invalid = "Resposta inválida do servidor de aplicação.";
  EXPECT_EQ(RefusalOf(Variant()), invalid);
  EXPECT_EQ(RefusalOf(Variant("texto solto")), invalid);
  EXPECT_EQ(RefusalOf(MakeArray({true})), invalid);
  EXPECT_EQ(RefusalOf(MakeArray({true, 1, 2})), invalid);
  EXPECT_EQ(RefusalOf(MakeArray({"true", 1})), invalid);
  EXPECT_EQ(RefusalOf(MakeArray({false, MakeArray({"a"})})), invalid);
}
