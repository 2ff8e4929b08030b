#pragma once

// What every factor item routine and variant shares: the one failure signal, the number
// conversions with the routines' semantics, exact logarithms, dates and the previous valid
// run.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace meridax {

// A routine's failure (a blank or non-numeric field converted to a whole number, a date
// that is not a date, an overflow): thrown where it happens, caught only where a routine
// is called, so the routine returns no code.
struct ItemAbandoned : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Strict conversions: blank, non-numeric or out-of-range text abandons the routine.
// Fractions round halves to even.
std::int16_t CInt16(std::string_view text);
std::int32_t CInt32(std::string_view text);
double CDouble(std::string_view text);
// A whole number that must fit 16 or 32 bits (arithmetic results stored in such a
// variable): outside the range abandons the routine.
std::int16_t Checked16(double value);
std::int32_t Checked32(double value);

// Plain decimal text of a whole number, no leading blank ("-5", "12").
std::string DecimalText(std::int64_t value);
// The last k characters of the decimal text of n + 10^k ("the last two digits of n + 100"):
// for 0 <= n < 10^k, n with leading zeros.
std::string FixedDigits(std::int64_t n, int k);
// The last k characters of a text (all of it when shorter).
std::string_view LastChars(std::string_view text, std::size_t k);

// Floor of 10 x log10(x) and of log10(x), exact where the true value is a whole number
// (1000 gives 30 and 3, 999 gives 29 and 2). x must be positive.
int FloorTenLog10(double x);
int FloorLog10(double x);

// A day number of the proleptic Gregorian calendar (days since 1970-01-01), none when the
// date does not exist.
std::optional<std::int64_t> DayNumber(int year, int month, int day);
// The run date of a record's year ("yyyy") and month-day ("mmdd") fields read as a
// calendar date; a text that is no date abandons the routine.
std::int64_t RunDay(std::string_view year, std::string_view monthDay);
// The same for a yyyymmdd text.
std::int64_t DayOfYyyymmdd(std::string_view yyyymmdd);

}  // namespace meridax
