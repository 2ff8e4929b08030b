#include "datasetup/factors/item_toolkit.h"

#include <gtest/gtest.h>

namespace meridax {
namespace {

TEST(ItemToolkit, LogarithmsAreExactAtPowersOfTen) {
  struct Case {
    double x;
    int tenLog;
    int log;
  };
  const Case cases[] = {{1, 0, 0},    {2, 3, 0},          {10, 10, 1},    {100, 20, 2},
                        {999, 29, 2}, {1000, 30, 3},      {35000, 45, 4}, {1e6, 60, 6},
                        {5e6, 66, 6}, {2147483647, 93, 9}};
  for (const auto& c : cases) {
    EXPECT_EQ(FloorTenLog10(c.x), c.tenLog) << c.x;
    EXPECT_EQ(FloorLog10(c.x), c.log) << c.x;
  }
}

TEST(ItemToolkit, ConversionsAbandonOnBlankNonNumericAndOverflow) {
  EXPECT_EQ(CInt16(" 12"), 12);
  EXPECT_EQ(CInt16("-5"), -5);
  EXPECT_THROW(CInt16("  "), ItemAbandoned);
  EXPECT_THROW(CInt16("1A"), ItemAbandoned);
  EXPECT_THROW(CInt16("40000"), ItemAbandoned);
  EXPECT_EQ(CInt32("40000"), 40000);
  EXPECT_THROW(CInt32("99999999999"), ItemAbandoned);
  EXPECT_THROW(Checked32(2147483648.0), ItemAbandoned);
  EXPECT_EQ(DecimalText(7), "7");
  EXPECT_EQ(FixedDigits(7, 2), "07");
  EXPECT_EQ(FixedDigits(112, 2), "12");
  EXPECT_EQ(FixedDigits(-3, 4), "9997");
}

TEST(ItemToolkit, DatesAreStrict) {
  EXPECT_EQ(RunDay("2020", "0301") - RunDay("2020", "0228"), 2);  // leap year
  EXPECT_EQ(RunDay("2019", "0301") - RunDay("2019", "0228"), 1);
  EXPECT_THROW(RunDay("2019", "0229"), ItemAbandoned);
  EXPECT_THROW(RunDay("    ", "0101"), ItemAbandoned);
  EXPECT_THROW(RunDay("2019", "1301"), ItemAbandoned);
  EXPECT_EQ(DayOfYyyymmdd("20190105"), RunDay("2019", "0105"));
}

}  // namespace
}  // namespace meridax
