#pragma once

#include <compare>
#include <string>

namespace meridax::sample {

// A day of the Gregorian calendar.
struct Date {
  int year = 0;
  int month = 0;
  int day = 0;

  // Days since 1970-01-01.
  int Serial() const;
  static Date FromSerial(int serial);
  Date Plus(int days) const { return FromSerial(Serial() + days); }
  // 0 = Sunday ... 6 = Saturday.
  int Weekday() const;
  std::string Text() const;      // yyyymmdd
  std::string MonthDay() const;  // mmdd

  auto operator<=>(const Date&) const = default;
};

}  // namespace meridax::sample
