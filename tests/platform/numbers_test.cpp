#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace meridax {
namespace {

TEST(NumbersTest, ValTakesTheLeadingNumberAndNeverFails) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {{"", 0},
               {"   ", 0},
               {"abc", 0},
               {"0123", 123},
               {"  42  ", 42},
               {"12ab", 12},
               {"1 2 3", 123},
               {"-7", -7},
               {"+5", 5},
               {"3.25x", 3.25},
               {".5", 0.5},
               {"1e3", 1000},
               {"1e", 1},
               {"2D2", 200},
               {"--1", 0},
               {"0000000", 0},
               {"1\n2", 12},
               {"1\r2", 1},
               {"\t7", 7},
               {"000123456", 123456},
               {"\t7\r\n", 7},
               {"999999999999999", 999999999999999.0},
               {"12345678901234567", 12345678901234567.0},
               {"1 2e2", 1200}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(Val(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumbersTest, StrictConversionsFailOnBlankNonNumericAndOutOfRange) {
  struct Case {
    const char* text;
    std::optional<std::int16_t> i16;
    std::optional<std::int32_t> i32;
  } cases[] = {
      {"12", 12, 12},
      {" 0012 ", 12, 12},
      {"-3", -3, -3},
      {"2.5", 2, 2},  // halves to even
      {"3.5", 4, 4},
      {"-2.5", -2, -2},
      {"32767", 32767, 32767},
      {"32768", std::nullopt, 32768},
      {"-32768", -32768, -32768},
      {"32767.5", std::nullopt, 32768},
      {"2147483648", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"   ", std::nullopt, std::nullopt},
      {"12a", std::nullopt, std::nullopt},
      {"1 2", std::nullopt, std::nullopt},
      {"abc", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToInt16(c.text), c.i16) << '"' << c.text << '"';
    EXPECT_EQ(ToInt32(c.text), c.i32) << '"' << c.text << '"';
  }
}

TEST(NumbersTest, RoundingIntAndStr) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
  EXPECT_EQ(Int(2.9), 2);
  EXPECT_EQ(Int(-2.1), -3);
  EXPECT_EQ(Str(5), " 5");
  EXPECT_EQ(Str(0), " 0");
  EXPECT_EQ(Str(-5), "-5");
  EXPECT_EQ(LastDigits(1069999, 6), "069999");
  EXPECT_EQ(LastDigits(12, 6), "12");
}

TEST(NumbersTest, SingleQuotientRoundsToSinglePrecision) {
  EXPECT_EQ(SingleQuotient(7, 10), static_cast<double>(0.7f));
  EXPECT_LT(SingleQuotient(7, 10) * 100000, 70000.0);
  EXPECT_LT(SingleQuotient(1, 25) * 100000, 4000.0);
  EXPECT_EQ(SingleQuotient(1, 2), 0.5);
}

}  // namespace
}  // namespace meridax
