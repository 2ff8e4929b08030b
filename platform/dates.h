#pragma once

#include <optional>
#include <string_view>

namespace meridax {

// The day of the week of a date of the proleptic Gregorian calendar, counted Sunday = 1 to
// Saturday = 7; none when the year is outside 1 to 9999 or the date does not exist.
std::optional<int> WeekdayOf(int year, int month, int day);

// The same for a date given as the text fields of a record: the year, the month and the
// day, each a whole number (blanks around it allowed). Text that is no whole number gives
// no weekday.
std::optional<int> WeekdayOf(std::string_view year, std::string_view month, std::string_view day);

}  // namespace meridax
