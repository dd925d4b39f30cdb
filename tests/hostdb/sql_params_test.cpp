#include <gtest/gtest.h>

#include "hostdb/sql_params.h"

TEST(SqlParamNames, FindsEachNameOnceInOrder) {
  EXPECT_EQ(SqlParamNames("SELECT * FROM T WHERE A = :P_A AND B = :p_b OR A = :P_A"),
            (std::vector<std::string>{"P_A", "p_b"}));
}

TEST(SqlParamNames, IgnoresQuotesCommentsAndBareColons) {
  EXPECT_TRUE(SqlParamNames("SELECT ':NAO', \"x:Y\" FROM T -- :COMENTARIO\n /* :OUTRO */ WHERE a = '12:30'").empty());
  EXPECT_EQ(SqlParamNames("SELECT 'it''s :NAO' WHERE A = :SIM AND B = : X AND C = :1"),
            (std::vector<std::string>{"SIM"}));
}

TEST(SqlWithNumberedParams, NumbersEachNameByFirstAppearanceOutsideQuotesAndCasts) {
  EXPECT_EQ(SqlWithNumberedParams("SELECT ':NAO', x::int FROM T -- :C\n WHERE A = :P_A AND B = :P_B OR A = :P_A"),
            "SELECT ':NAO', x::int FROM T -- :C\n WHERE A = $1 AND B = $2 OR A = $1");
  EXPECT_EQ(SqlWithNumberedParams("SELECT 1"), "SELECT 1");
}
