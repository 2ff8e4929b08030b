#include "datasetup/factors/item_toolkit.h"

#include <chrono>
#include <cmath>
#include <limits>

#include "platform/numbers.h"

namespace meridax {

std::int16_t CInt16(std::string_view text) {
  const auto v = ToInt16(text);
  if (!v) throw ItemAbandoned("not a 16-bit whole number");
  return *v;
}

std::int32_t CInt32(std::string_view text) {
  const auto v = ToInt32(text);
  if (!v) throw ItemAbandoned("not a 32-bit whole number");
  return *v;
}

double CDouble(std::string_view text) {
  const auto v = ToDouble(text);
  if (!v) throw ItemAbandoned("not a number");
  return *v;
}

namespace {
template <typename T>
T Checked(double value) {
  const double rounded = RoundHalfEven(value);
  if (!std::isfinite(rounded) || rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<T>::max())) {
    throw ItemAbandoned("overflow");
  }
  return static_cast<T>(rounded);
}
}  // namespace

std::int16_t Checked16(double value) {
  return Checked<std::int16_t>(value);
}
std::int32_t Checked32(double value) {
  return Checked<std::int32_t>(value);
}

std::string DecimalText(std::int64_t value) {
  return std::to_string(value);
}

std::string FixedDigits(std::int64_t n, int k) {
  std::int64_t power = 1;
  for (int i = 0; i < k; ++i) power *= 10;
  return std::string(LastChars(std::to_string(n + power), static_cast<std::size_t>(k)));
}

std::string_view LastChars(std::string_view text, std::size_t k) {
  return text.size() <= k ? text : text.substr(text.size() - k);
}

namespace {
// The exponent k when x is exactly 10^k for a whole k >= 0, else -1.
int ExactPowerOfTen(double x) {
  int k = 0;
  double p = 1;
  while (p < x && k < 22) {
    p *= 10;
    ++k;
  }
  return p == x ? k : -1;
}
}  // namespace

int FloorTenLog10(double x) {
  const int k = ExactPowerOfTen(x);
  if (k >= 0) return 10 * k;
  // A whole number other than a power of ten has no whole 10 log10 value, so only the
  // rounding of the logarithm itself can mislead the floor; long double keeps it honest.
  return static_cast<int>(std::floor(10.0L * std::log10(static_cast<long double>(x))));
}

int FloorLog10(double x) {
  const int k = ExactPowerOfTen(x);
  if (k >= 0) return k;
  return static_cast<int>(std::floor(std::log10(static_cast<long double>(x))));
}

std::optional<std::int64_t> DayNumber(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year{year},
                                         std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return std::nullopt;
  return std::chrono::sys_days{date}.time_since_epoch().count();
}

namespace {
int DateDigits(std::string_view text) {
  if (text.empty()) throw ItemAbandoned("not a date");
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') throw ItemAbandoned("not a date");
    value = value * 10 + (c - '0');
  }
  return value;
}
std::int64_t Day(int y, int m, int d) {
  const auto n = DayNumber(y, m, d);
  if (!n) throw ItemAbandoned("not a date");
  return *n;
}
}  // namespace

std::int64_t RunDay(std::string_view year, std::string_view monthDay) {
  if (monthDay.size() < 4) throw ItemAbandoned("not a date");
  return Day(DateDigits(year), DateDigits(monthDay.substr(0, 2)),
             DateDigits(monthDay.substr(2, 2)));
}

std::int64_t DayOfYyyymmdd(std::string_view yyyymmdd) {
  if (yyyymmdd.size() < 8) throw ItemAbandoned("not a date");
  return RunDay(yyyymmdd.substr(0, 4), yyyymmdd.substr(4, 4));
}

}  // namespace meridax
