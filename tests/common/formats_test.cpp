#include "datasetup/common/formats.h"

#include <gtest/gtest.h>

#include "datasetup/common/paths.h"
#include "platform/drive.h"

namespace meridax {
namespace {

TEST(FormatsTest, FixedRate6TakesTheQuotientInSinglePrecision) {
  struct Case {
    double a, b;
    const char* text;
  } cases[] = {{7, 10, "069999"}, {1, 25, "003999"}, {1, 2, "050000"}, {0, 5, "000000"},
               {3, 0, "000000"},  {1, 1, "100000"},  {1, 3, "033333"}, {2, 3, "066666"},
               {5, 4, "125000"},  {10, 10, "100000"}};
  for (const auto& c : cases) EXPECT_EQ(FixedRate6(c.a, c.b), c.text) << c.a << "/" << c.b;
}

TEST(FormatsTest, FixedCountsAndNumbersKeepTheirLastDigits) {
  EXPECT_EQ(FixedCount6(0), "000000");
  EXPECT_EQ(FixedCount6(42), "000042");
  EXPECT_EQ(FixedCount6(1234567), "234567");
  EXPECT_EQ(FixedNumber9(0), "000000000");
  EXPECT_EQ(FixedNumber9(123456), "000123456");
  EXPECT_EQ(FixedNumber9(12345678901), "345678901");
}

TEST(FormatsTest, RunningStyleCodeCutsTheRatio) {
  struct Case {
    double a, b, c, d;
    const char* code;
  } cases[] = {{0, 0, 5, 5, "0000"}, {1, 1, 0, 0, "1000"},
               {1, 1, 3, 4, "1300"}, {2, 0, 7, 0, "1300"},  // 3.5 gives 3, not 4
               {1, 0, 9, 9, "1400"}, {1, 1, 2, 0, "1100"}};
  for (const auto& c : cases) EXPECT_EQ(RunningStyleCode(c.a, c.b, c.c, c.d), c.code);
}

TEST(FormatsTest, DataPathMapsUnderTheDataFolder) {
  SetDriveRoot("/d");
  EXPECT_EQ(DataPath("OPTION1N\\KYOSOBA.dat"),
            std::filesystem::path("/d/MERIDAXPROJECT/OPTION1N/KYOSOBA.dat"));
  EXPECT_EQ(DataPath("\\KISHUGOTOSETUP\\a.dat"),
            std::filesystem::path("/d/MERIDAXPROJECT/KISHUGOTOSETUP/a.dat"));
}

}  // namespace
}  // namespace meridax
