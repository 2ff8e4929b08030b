#include "tools/sample/calendar.h"

#include <cstdio>

namespace meridax::sample {

// Civil-from-days and days-from-civil on the proleptic Gregorian calendar, in eras of
// 400 years so that no table is needed.
int Date::Serial() const {
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int mp = (month + 9) % 12;
  const int doy = (153 * mp + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Date Date::FromSerial(int serial) {
  const int z = serial + 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  const int d = doy - (153 * mp + 2) / 5 + 1;
  const int m = mp < 10 ? mp + 3 : mp - 9;
  return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

int Date::Weekday() const {
  const int s = Serial();
  return ((s + 4) % 7 + 7) % 7;
}

std::string Date::Text() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", year, month, day);
  return buf;
}

std::string Date::MonthDay() const {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d%02d", month, day);
  return buf;
}

}  // namespace meridax::sample
