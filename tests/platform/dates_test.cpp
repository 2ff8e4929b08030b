#include "platform/dates.h"

#include <gtest/gtest.h>

namespace meridax {
namespace {

TEST(DatesTest, WeekdayCountsSundayAsOneAndSaturdayAsSeven) {
  struct Case {
    int year, month, day;
    std::optional<int> weekday;
  } cases[] = {
      {2019, 1, 5, 7},   // Saturday
      {2019, 1, 6, 1},   // Sunday
      {2019, 1, 7, 2},   // Monday
      {2000, 2, 29, 3},  // leap day of a century divisible by 400
      {1900, 2, 29, std::nullopt},
      {2024, 12, 28, 7},  // Saturday
      {1, 1, 1, 2},       // the calendar's first day, a Monday
      {9999, 12, 31, 6},
      {0, 1, 1, std::nullopt},
      {10000, 1, 1, std::nullopt},
      {2019, 13, 1, std::nullopt},
      {2019, 4, 31, std::nullopt},
      {2019, 0, 10, std::nullopt},
      {2019, 1, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WeekdayOf(c.year, c.month, c.day), c.weekday)
        << c.year << '-' << c.month << '-' << c.day;
  }
}

TEST(DatesTest, TextFieldsMustBeWholeNumbers) {
  struct Case {
    const char *year, *month, *day;
    std::optional<int> weekday;
  } cases[] = {
      {"2019", "01", "05", 7},
      {"2019", " 1", "5 ", 7},
      {"    ", "01", "05", std::nullopt},
      {"2019", "  ", "05", std::nullopt},
      {"2019", "0a", "05", std::nullopt},
      {"2019", "-1", "05", std::nullopt},
      {"2019", "01", "1.", std::nullopt},
      {"2019", "02", "30", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WeekdayOf(c.year, c.month, c.day), c.weekday)
        << '"' << c.year << "\" \"" << c.month << "\" \"" << c.day << '"';
  }
}

}  // namespace
}  // namespace meridax
