#include "datasetup/factors/item_toolkit.h"

#include <chrono>
#include <cmath>
#include <limits>

#include "datasetup/common/extended_run_record.h"
#include "platform/io_error.h"
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

std::int64_t FixedDigitsValue(std::int64_t n, int k) {
  // The text may keep a sign ("-5" when n + 10^k is negative), which the number keeps too.
  return std::stoll(FixedDigits(n, k));
}

int FloorTenLog10(double x) {
  if (!(x > 0) || !std::isfinite(x)) throw ItemAbandoned("logarithm of a number not positive");
  const int k = ExactPowerOfTen(x);
  if (k >= 0) return 10 * k;
  // A whole number other than a power of ten has no whole 10 log10 value, so only the
  // rounding of the logarithm itself can mislead the floor; long double keeps it honest.
  return static_cast<int>(std::floor(10.0L * std::log10(static_cast<long double>(x))));
}

int FloorLog10(double x) {
  if (!(x > 0) || !std::isfinite(x)) throw ItemAbandoned("logarithm of a number not positive");
  const int k = ExactPowerOfTen(x);
  if (k >= 0) return k;
  return static_cast<int>(std::floor(std::log10(static_cast<long double>(x))));
}

float SingleDivide(float a, float b) {
  if (b == 0) throw ItemAbandoned("division by zero");
  return a / b;
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

std::int64_t CalendarDay(std::string_view year, std::string_view month, std::string_view day) {
  return Day(DateDigits(year), DateDigits(month), DateDigits(day));
}

std::int64_t RunDateOf(std::string_view run) {
  return RunDay(records::View(run, extended_run::RaceYear),
                records::View(run, extended_run::RaceMonthDay));
}

std::int16_t TrackNumber(std::string_view run) {
  return CInt16(records::View(run, extended_run::TrackCode));
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

bool IsMissingCode(std::string_view code) {
  return code.find_first_not_of('0') == std::string_view::npos ||
         code.find_first_not_of(' ') == std::string_view::npos;
}

bool TextInRange(std::string_view text, std::string_view lo, std::string_view hi) {
  // string_view compares bytes as unsigned, the character codes of code page 932.
  return lo <= text && text <= hi;
}

std::int32_t PreviousValidRun(ItemContext& c, std::int32_t r) {
  const std::string_view before = c.Read(r - 1);
  if (records::View(before, extended_run::AbnormalityCode) == "0") return r - 1;
  return r == 2 ? 1 : r - 2;
}

std::int64_t FourDigitDays(std::int64_t from, std::int64_t to) {
  return FixedDigitsValue(to - from, 4);
}

std::int32_t RestWeeks(std::int64_t from, std::int64_t to) {
  return static_cast<std::int32_t>(Int(static_cast<double>(FourDigitDays(from, to)) / 7.0 + 0.5));
}

namespace {
// 0 for a rest under 27 weeks, 1 for 27 to 51, 2 for a year or more.
int RestClass(std::int32_t weeks) {
  return weeks < 27 ? 0 : weeks <= 51 ? 1 : 2;
}
bool IsShortRest(int code) {
  return code >= 1 && code <= 3;
}
}  // namespace

std::string RestDigits(std::int32_t w1, std::int32_t w2, std::int32_t w3) {
  int code = w1 <= 26 ? w1 : w1 <= 51 ? 27 : w1 <= 78 ? 52 : 78;
  const int k2 = IsShortRest(code) ? RestClass(w2) : 0;
  const int k3 = IsShortRest(code) ? RestClass(w3) : 0;
  if (IsShortRest(code) && k2 >= 1) code = 28 + 2 * (code - 1) + (k2 - 1);
  // Only a rest that the rest before it did not already mark counts.
  if (IsShortRest(code) && k3 >= 1) code = 34 + 2 * (code - 1) + (k3 - 1);
  return code == 0 ? "1020" : std::string(LastChars(DecimalText(code * 10 + 1000), 4));
}

std::string TimeBehindClass(std::string_view d, std::string_view run, bool marginForm) {
  if (d == "0000" || d == "    " || d == "+999" || d == "-999" || d == "9999") return "0099";
  // A winner's time carries a minus sign and its margin over the second horse.
  if (d == "-000") return "0001";
  if (d == "-001") return "0002";
  if (d == "-002") return "0003";
  if (d == "-003" || d == "-004") return "0004";
  if (TextInRange(d, "-005", "-009")) return "0005";
  if (TextInRange(d, "-010", "-998")) return "0006";
  if (d == "+000") {
    if (marginForm && records::View(run, extended_run::ArrivalOrder) == "02") {
      return "+" + std::string(records::View(run, extended_run::MarginCode));
    }
    return "0007";
  }
  if (d.size() == 4 && d[0] == '+' && TextInRange(d, "+001", "+029") &&
      d.find_first_not_of("0123456789", 1) == std::string_view::npos) {
    return "00" + FixedDigits(CInt16(d.substr(1)) + 7, 2);
  }
  if (TextInRange(d, "+030", "+040") || TextInRange(d, "+041", "+050")) {
    return "00" + DecimalText(CInt16(LastChars(d, 2)) + 7);
  }
  return "0099";
}

std::string_view JockeyAgeBand(std::string_view run) {
  const std::int16_t year = CInt16(records::View(run, extended_run::RaceYear));
  const std::int16_t birthYear = CInt16(records::View(run, extended_run::JockeyBirthYear));
  const std::string age(LastChars(DecimalText(year + 100 - birthYear), 2));
  // The age is compared as text: a one-digit "4" falls between "36" and "40".
  static constexpr TextBandValue<std::string_view> kBands[] = {{"00", "20", "20"},
                                                               {"21", "25", "23"},
                                                               {"26", "30", "28"},
                                                               {"31", "35", "33"},
                                                               {"36", "40", "38"}};
  return TextBandOf(kBands, std::string_view("43"), age);
}

std::string RacecourseLetter(std::string_view code) {
  if (code.size() == 2 && code[0] == '0' && code[1] >= '1' && code[1] <= '9') {
    return std::string(1, code[1]);
  }
  return code == "10" ? "A" : "B";
}

std::string RunNumberCode(std::int32_t r, std::int32_t last) {
  if (r == 1) return "001";
  if (InRange(r, 2, last)) return FixedDigits(r - 1, 3);
  return FixedDigits(last, 3);
}

std::int32_t EarlierPrizeSum(ItemContext& c, std::int32_t n) {
  if (n >= std::numeric_limits<std::int16_t>::max()) throw ItemAbandoned("run counter overflow");
  std::int64_t s = 0;
  for (std::int32_t i = 1; i <= n; ++i) {
    s += CInt32(records::View(c.Read(i), extended_run::PrizeMoney));
    if (s > std::numeric_limits<std::int32_t>::max() ||
        s < std::numeric_limits<std::int32_t>::min()) {
      throw ItemAbandoned("prize sum overflow");
    }
  }
  return static_cast<std::int32_t>(s);
}

std::int64_t EvenWeightShare(std::string_view run) {
  const double w = Val(records::View(run, extended_run::WeightCarried));
  const double b = Val(records::View(run, extended_run::BodyWeight));
  double q = 100;
  if (w > 0 && b > 0) {
    q = Int(w * 0.1 * 1000 / (b + w * 0.1) + 0.5);
    if (q < 96) {
      q = 96;
    } else if (q > 114) {
      q = 114;
    }
  }
  return static_cast<std::int64_t>(Int(q / 2) * 2);
}

std::int64_t BodyWeightSteps(std::string_view run) {
  const double b = Val(records::View(run, extended_run::BodyWeight));
  double k = b == 0 ? 44 : Int(b / 8);
  if (k <= 51) {
    k = 50;
  } else if (k >= 71) {
    k = 70;
  }
  return static_cast<std::int64_t>(k);
}

namespace {
std::int64_t RateBucket(std::string_view fixedRate6, double step) {
  const double bucket = Int(Val(fixedRate6) / step);
  if (!(std::fabs(bucket) < 9.0e15)) throw ItemAbandoned("rate out of range");
  return static_cast<std::int64_t>(bucket);
}
}  // namespace

std::int64_t RateSteps4(std::string_view fixedRate6) {
  return RateBucket(fixedRate6, 4000);
}

std::int64_t RatePercent(std::string_view fixedRate6) {
  return RateBucket(fixedRate6, 1000);
}

std::optional<std::string_view> FirstStat(ItemContext& c, const StatFile& file,
                                          std::string_view key) {
  if (c.stats == nullptr) throw std::logic_error("an item routine ran without a step's statistics");
  try {
    return c.stats->FirstMatch(file.relative, file.recordLength, file.key, key);
  } catch (const IoError& e) {
    throw ItemAbandoned(e.what());
  }
}

std::optional<std::string_view> ParentStat(ItemContext& c, std::string_view run, int ancestor,
                                           const StatFile& file) {
  const std::string_view parent =
      records::View(run, extended_run::AncestorBlocks_BreedingNumber.In(ancestor));
  if (IsMissingCode(parent)) return std::nullopt;
  return FirstStat(c, file, parent);
}

}  // namespace meridax
