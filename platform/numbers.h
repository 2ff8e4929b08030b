#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace meridax {

// The leading number of a text: blanks are skipped, then a sign, digits, a decimal point
// and an exponent are taken as far as they go; no number gives 0. Never fails.
double Val(std::string_view text);

// Strict conversions to whole numbers: the text (blanks around it allowed) must be one
// number; fractions round halves to even. Blank, non-numeric and out-of-range text gives
// no value.
std::optional<std::int16_t> ToInt16(std::string_view text);
std::optional<std::int32_t> ToInt32(std::string_view text);
std::optional<double> ToDouble(std::string_view text);

// Rounds to the nearest whole number, halves to the even number.
double RoundHalfEven(double value);

// The whole number at or below.
double Int(double value);

// Decimal text of a whole number with a leading blank when it is not negative (" 5", "-5").
std::string Str(std::int64_t value);

// a / b rounded to single precision, then widened again: rates are taken in single
// precision, while whatever multiplies them afterwards works in double.
double SingleQuotient(double a, double b);

// The shortest decimal text that reads back as the same single-precision value, without
// an exponent and without the locale ("62.60869", "60", "0.5").
std::string ShortestText(float value);

// The last `digits` decimal digits of a non-negative whole number.
std::string LastDigits(std::int64_t value, int digits);

}  // namespace meridax
