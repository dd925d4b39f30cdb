#include <gtest/gtest.h>

#include <cmath>

#include "data/exceptions.h"
#include "data/formats.h"

TEST(FormatFloat, GroupsThousandsWithDotsAndUsesCommaDecimals) {
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.56), "1.234,56");
  EXPECT_EQ(FormatFloat("#,##0.00", 0), "0,00");
  EXPECT_EQ(FormatFloat("#,##0.00", 0.5), "0,50");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567890.125), "1.234.567.890,13");
  EXPECT_EQ(FormatFloat("#,##0.00", 999.999), "1.000,00");
  EXPECT_EQ(FormatFloat("#,##0.00", -1234.5), "-1.234,50");
  EXPECT_EQ(FormatFloat("#,##0.00", 1.005), "1,01");
}

TEST(FormatFloat, PercentIsOnlyALiteral) {
  EXPECT_EQ(FormatFloat("#0.00 %", 12.5), "12,50 %");
  EXPECT_EQ(FormatFloat("#0.00 %", 0), "0,00 %");
  EXPECT_EQ(FormatFloat("##0.00%", 7), "7,00%");
  EXPECT_EQ(FormatFloat("##0.00%", -7.125), "-7,13%");
  EXPECT_EQ(FormatFloat("#0.00", 1234.5), "1234,50");
  EXPECT_EQ(FormatFloat("0.00", -0.001), "0,00");
}

TEST(FormatFloat, SectionsAndLiterals) {
  // An empty negative section formats negatives with the first one and a minus.
  EXPECT_EQ(FormatFloat("#,##0.00;", -1500), "-1.500,00");
  EXPECT_EQ(FormatFloat("#,##0.00;", 1500), "1.500,00");
  EXPECT_EQ(FormatFloat("#,##0.00;(#,##0.00)", -1500), "(1.500,00)");
  EXPECT_EQ(FormatFloat("#,##0.00;(#,##0.00);zero", 0), "zero");
  EXPECT_EQ(FormatFloat("#,##0.00 ", 10), "10,00 ");
  EXPECT_EQ(FormatFloat("'R$ '#,##0.00", 3), "R$ 3,00");
}

TEST(FormatFloat, MinimumIntegerDigitsAndOptionalDecimals) {
  EXPECT_EQ(FormatFloat("#,#00.00", 5), "05,00");
  EXPECT_EQ(FormatFloat("#,#00.00", 12345.6), "12.345,60");
  EXPECT_EQ(FormatFloat("0.##", 2.5), "2,5");
  EXPECT_EQ(FormatFloat("0.##", 2), "2");
  EXPECT_EQ(FormatFloat("#.##", 0.25), ",25");
  EXPECT_EQ(FormatFloat("0", 2.5), "3");
  EXPECT_EQ(FormatFloat("", 2.5), "2,5");
}

TEST(RoundDec, RoundsHalvesAwayFromZeroOnTheDecimalValue) {
  EXPECT_DOUBLE_EQ(RoundDec(1.005, 2), 1.01);
  EXPECT_DOUBLE_EQ(RoundDec(2.675, 2), 2.68);
  EXPECT_DOUBLE_EQ(RoundDec(-1.005, 2), -1.01);
  EXPECT_DOUBLE_EQ(RoundDec(1.004999, 2), 1.0);
  EXPECT_DOUBLE_EQ(RoundDec(100.0 / 3, 2), 33.33);
  EXPECT_DOUBLE_EQ(RoundDec(200.0 / 3, 2), 66.67);
  EXPECT_DOUBLE_EQ(RoundDec(0.0049, 2), 0.0);
  EXPECT_DOUBLE_EQ(RoundDec(9.995, 2), 10.0);
  EXPECT_DOUBLE_EQ(RoundDec(123456789.125, 2), 123456789.13);
  EXPECT_DOUBLE_EQ(RoundDec(0.1 + 0.2, 2), 0.3);
  EXPECT_DOUBLE_EQ(RoundDec(2.5, 0), 3.0);
  EXPECT_DOUBLE_EQ(RoundDec(-2.5, 0), -3.0);
}

TEST(FloatText, PlainTextAndParsing) {
  EXPECT_EQ(FloatToStr(1234.5), "1234,5");
  EXPECT_EQ(FloatToStr(-0.25), "-0,25");
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0,3");
  EXPECT_EQ(FloatToStr(100), "100");
  EXPECT_EQ(ParseFloat(" 1234,56 "), 1234.56);
  EXPECT_EQ(ParseFloat("-3"), -3.0);
  EXPECT_FALSE(ParseFloat("1.234,56"));
  EXPECT_FALSE(ParseFloat("12a"));
  EXPECT_FALSE(ParseFloat(""));
  EXPECT_THROW(StrToFloat("abc"), Exception);
}

TEST(Dates, EncodeDecodeAgainstTheEpoch) {
  EXPECT_EQ(EncodeDate(1899, 12, 30).days, 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1).days, 2);
  EXPECT_EQ(EncodeDate(2027, 1, 5).days, 46392);
  int y, m, d;
  DecodeDate(DateTime{46392.75}, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20270105);
  DecodeDate(EncodeDate(2024, 2, 29), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
  EXPECT_THROW(EncodeDate(2027, 2, 29), Exception);
  EXPECT_EQ(DateOf(DateTime{46392.75}).days, 46392);
}

TEST(Dates, ValuesOutsideTheCalendarAreRefusedNotConverted) {
  const double first = EncodeDate(1, 1, 1).days;
  const double last = EncodeDate(9999, 12, 31).days;
  EXPECT_EQ(FormatDate(DateTime{first}), "01/01/0001");
  EXPECT_EQ(DateTimeToStr(DateTime{last + 0.5}), "31/12/9999 12:00:00");
  for (double days : {first - 1, last + 1, -5.7e264, 1e300, std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    int y, m, d;
    EXPECT_THROW(FormatDate(DateTime{days}), Exception) << days;
    EXPECT_THROW(DecodeDate(DateTime{days}, y, m, d), Exception) << days;
    EXPECT_THROW(DateOf(DateTime{days}), Exception) << days;
  }
}

TEST(Dates, FormatAndParse) {
  DateTime day = EncodeDate(2027, 1, 5);
  EXPECT_EQ(FormatDate(day), "05/01/2027");
  EXPECT_EQ(DateTimeToStr(day), "05/01/2027");
  DateTime withTime{day.days + EncodeTime(13, 4, 5).days};
  EXPECT_EQ(DateTimeToStr(withTime), "05/01/2027 13:04:05");
  EXPECT_EQ(FormatDateTime("d/m/yy hh:mm", withTime), "5/1/27 13:04");
  EXPECT_EQ(ParseDate("05/01/2027"), day);
  EXPECT_EQ(ParseDate(" 5/1/2027 "), day);
  EXPECT_EQ(ParseDate("05/01/2027 13:04:05")->days, withTime.days);
  EXPECT_FALSE(ParseDate("31/02/2027"));
  EXPECT_FALSE(ParseDate("29/02/2027"));
  // Runs of digits too long for their part are refused, however long.
  for (const char* text : {"05/29999999999999999999999/2027", "999999999999999/01/2027", "05/01/20270000000000000",
                           "05/01/2027 99999999999:00", "05/01/2027 13:0400000000000"})
    EXPECT_FALSE(ParseDate(text)) << text;
  EXPECT_TRUE(ParseDate("29/02/2028"));
  EXPECT_FALSE(ParseDate("05/13/2027"));
  EXPECT_FALSE(ParseDate("05012027"));
  EXPECT_FALSE(ParseDate("05/01/27"));
  EXPECT_FALSE(ParseDate("05/01/2027x"));
  EXPECT_FALSE(ParseDate("  /  /    "));
  EXPECT_THROW(StrToDate("garbage"), Exception);
}
