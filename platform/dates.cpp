#include "platform/dates.h"

#include <chrono>

namespace meridax {
namespace {

// Digits only: the strict conversions would also take signs, fractions and exponents,
// which no date field holds.
std::optional<int> WholeNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::optional<int> WeekdayOf(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year{year},
                                         std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return std::nullopt;
  return static_cast<int>(std::chrono::weekday{std::chrono::sys_days{date}}.c_encoding()) + 1;
}

std::optional<int> WeekdayOf(std::string_view year, std::string_view month, std::string_view day) {
  const auto y = WholeNumber(year);
  const auto m = WholeNumber(month);
  const auto d = WholeNumber(day);
  if (!y || !m || !d) return std::nullopt;
  return WeekdayOf(*y, *m, *d);
}

}  // namespace meridax
