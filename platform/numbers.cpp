#include "platform/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace meridax {
namespace {

// Val drops blanks, tabs and line feeds wherever they stand; a carriage return ends the
// number like any other character.
bool IsValBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The longest number at the start of s: a sign, digits, a fraction, and an exponent when
// digits follow its letter (E or D). `end` is where it stops; without digits the text is
// empty.
struct NumberPrefix {
  std::string text;
  std::size_t end = 0;
};

NumberPrefix ScanNumber(std::string_view s) {
  NumberPrefix number;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number.text.push_back(s[i++]);
  bool digits = false;
  while (i < s.size() && IsDigit(s[i])) {
    number.text.push_back(s[i++]);
    digits = true;
  }
  if (i < s.size() && s[i] == '.') {
    number.text.push_back(s[i++]);
    while (i < s.size() && IsDigit(s[i])) {
      number.text.push_back(s[i++]);
      digits = true;
    }
  }
  if (!digits) return {};
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
    const std::size_t firstDigit = j;
    while (j < s.size() && IsDigit(s[j])) exponent.push_back(s[j++]);
    if (j > firstDigit) {
      number.text += exponent;
      i = j;
    }
  }
  number.end = i;
  return number;
}

}  // namespace

double Val(std::string_view text) {
  // Most texts are counts and totals of digits and blanks: exact as a whole number while
  // they are short enough, and by far the most frequent.
  std::int64_t whole = 0;
  int digitCount = 0;
  bool plain = true;
  for (const char c : text) {
    if (IsDigit(c)) {
      whole = whole * 10 + (c - '0');
      ++digitCount;
    } else if (!IsValBlank(c)) {
      plain = false;
      break;
    }
  }
  if (plain && digitCount <= 15) return static_cast<double>(whole);

  // Blanks are dropped wherever they stand, then the longest number prefix is taken.
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (!IsValBlank(c)) s.push_back(c);
  }
  const NumberPrefix number = ScanNumber(s);
  return number.text.empty() ? 0.0 : std::strtod(number.text.c_str(), nullptr);
}

std::optional<double> ToDouble(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  const std::string_view s = text.substr(b, e - b);
  // Fields of a few plain digits are by far the most frequent: exact without a scan.
  if (!s.empty() && s.size() <= 15) {
    std::int64_t whole = 0;
    std::size_t i = 0;
    while (i < s.size() && IsDigit(s[i])) whole = whole * 10 + (s[i++] - '0');
    if (i == s.size()) return static_cast<double>(whole);
  }
  const NumberPrefix number = ScanNumber(s);
  if (number.text.empty() || number.end != s.size()) return std::nullopt;
  return std::strtod(number.text.c_str(), nullptr);
}

namespace {

template <typename T>
std::optional<T> ToWhole(std::string_view text) {
  const std::optional<double> value = ToDouble(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  const double rounded = RoundHalfEven(*value);
  if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<T>::max())) {
    return std::nullopt;
  }
  return static_cast<T>(rounded);
}

}  // namespace

std::optional<std::int16_t> ToInt16(std::string_view text) {
  return ToWhole<std::int16_t>(text);
}
std::optional<std::int32_t> ToInt32(std::string_view text) {
  return ToWhole<std::int32_t>(text);
}

double RoundHalfEven(double value) {
  return std::nearbyint(value);
}

double Int(double value) {
  return std::floor(value);
}

std::string Str(std::int64_t value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

double SingleQuotient(double a, double b) {
  return static_cast<double>(static_cast<float>(a / b));
}

std::string LastDigits(std::int64_t value, int digits) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) > digits) text.erase(0, text.size() - digits);
  return text;
}

}  // namespace meridax

namespace meridax {

std::string ShortestText(float value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return std::string(text, result.ptr);
}

}  // namespace meridax
