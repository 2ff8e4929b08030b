#pragma once

// What every factor item routine and variant shares: the one failure signal, the number
// conversions with the routines' semantics, exact logarithms, dates, the previous valid
// run, rate buckets, track-code bands and the statistics look-ups.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "datasetup/common/data_files.h"
#include "datasetup/common/horse_stat_record.h"
#include "datasetup/common/jockey_course_stat_record.h"
#include "datasetup/common/parent_stat_record.h"
#include "datasetup/common/people_stat_records.h"
#include "datasetup/factors/item_context.h"
#include "platform/numbers.h"
#include "records/layout.h"

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

// The whole number formed by the last k characters of the decimal text of n + 10^k (the
// routines' way of keeping a day count to four digits): n itself for 0 <= n < 10^k.
std::int64_t FixedDigitsValue(std::int64_t n, int k);

// Floor of 10 x log10(x) and of log10(x), exact where the true value is a whole number
// (1000 gives 30 and 3, 999 gives 29 and 2). A logarithm of zero or a negative number
// abandons the routine.
int FloorTenLog10(double x);
int FloorLog10(double x);

// a / b in single precision; b = 0 abandons the routine (0 / 0 included).
float SingleDivide(float a, float b);

// A day number of the proleptic Gregorian calendar (days since 1970-01-01), none when the
// date does not exist.
std::optional<std::int64_t> DayNumber(int year, int month, int day);
// The run date of a record's year ("yyyy") and month-day ("mmdd") fields read as a
// calendar date; a text that is no date abandons the routine.
std::int64_t RunDay(std::string_view year, std::string_view monthDay);
// The same for a yyyymmdd text.
std::int64_t DayOfYyyymmdd(std::string_view yyyymmdd);
// A date of separate year, month and day fields ("2016", "03", "05").
std::int64_t CalendarDay(std::string_view year, std::string_view month, std::string_view day);
// The run date of an extended run record: RaceYear / RaceMonthDay.
std::int64_t RunDateOf(std::string_view run);

// TrackCode of an extended run record as a 16-bit whole number; blank or non-numeric text
// abandons the routine.
std::int16_t TrackNumber(std::string_view run);

// A text made only of blanks (the empty text too).
bool IsBlank(std::string_view text);

// A code that stands for none: made only of zeros or only of blanks ("00000", "     ").
bool IsMissingCode(std::string_view code);

// The previous valid run of run r (r >= 2): r - 1 when its AbnormalityCode is "0", else
// r - 2, but 1 when r = 2. Reads record r - 1 into CurrentRun, as the routines do.
std::int32_t PreviousValidRun(ItemContext& c, std::int32_t r);

// Rate buckets of a FixedRate6 figure read with Val: Int(figure / 4000), the rate in steps
// of 4 per cent (0 to 25), and Int(figure / 1000), the rate in per cent. A figure too large
// for a whole number (only text that is no rate gives one) abandons the routine.
std::int64_t RateSteps4(std::string_view fixedRate6);
std::int64_t RatePercent(std::string_view fixedRate6);

// lo <= value <= hi, for the routines' "from lo to hi" on numbers.
constexpr bool InRange(std::int64_t value, std::int64_t lo, std::int64_t hi) {
  return value >= lo && value <= hi;
}
// The same on texts compared by character codes, one by one ("100" lies below "46").
bool TextInRange(std::string_view text, std::string_view lo, std::string_view hi);

// One band of track codes read as a number, low to high inclusive. Each routine keeps its
// own small table, since each cuts the codes at its own points.
template <typename T>
struct TrackBandValue {
  int low;
  int high;
  T value;
};

// The value of the first band holding t, else `otherwise`.
template <typename T, std::size_t N>
constexpr T BandOf(const TrackBandValue<T> (&bands)[N], const T& otherwise, int t) {
  for (const auto& band : bands) {
    if (InRange(t, band.low, band.high)) return band.value;
  }
  return otherwise;
}

// One band of texts compared by character codes, low to high inclusive ("00" to "22").
template <typename T>
struct TextBandValue {
  std::string_view low;
  std::string_view high;
  T value;
};

// The value of the first band holding the text, else `otherwise`.
template <typename T, std::size_t N>
constexpr T TextBandOf(const TextBandValue<T> (&bands)[N], const T& otherwise,
                       std::string_view text) {
  for (const auto& band : bands) {
    if (band.low <= text && text <= band.high) return band.value;
  }
  return otherwise;
}

// Days from one run date to a later one as the routines keep them: the whole number of the
// last four characters of the day count + 10000, so only 0 to 9999 days come out as
// themselves.
std::int64_t FourDigitDays(std::int64_t from, std::int64_t to);
// Rounded weeks of FourDigitDays: 0 to 3 days give 0, 4 to 10 give 1.
std::int32_t RestWeeks(std::int64_t from, std::int64_t to);
// The four digits of item 14's rests: the rest w1 before this run in weeks, clamped to 0 to
// 26, 27, 52 or 78; a rest of 1 to 3 weeks raised to 28 to 33 by the class of the rest w2
// before it, else to 34 to 39 by that of w3; then the last four characters of code x 10 +
// 1000, or "1020" for 0.
std::string RestDigits(std::int32_t w1, std::int32_t w2, std::int32_t w3);

// The classes of a TimeBehindWinner d (a sign and three digits, tenths of a second) of the
// run `run`, the first rule that fits winning: "0099" for none, "0001" to "0006" for a
// winner's margin, "0007" for a dead heat at the front, "0008" to "0057" for 0.1 to 5.0
// seconds behind. With `marginForm` a second place dead-heated ("+000") gives "+" &
// its MarginCode instead of "0007".
std::string TimeBehindClass(std::string_view d, std::string_view run, bool marginForm);

// The jockey's age on race day (RaceYear + 100 - year of JockeyBirthDate, its last two
// characters) banded as text: "20", "23", "28", "33", "38" or "43". A year that is no
// whole number abandons the routine.
std::string_view JockeyAgeBand(std::string_view run);

// The racecourse letter: "01" to "09" give "1" to "9", "10" gives "A", any other text "B".
std::string RacecourseLetter(std::string_view racecourseCode);

// The run-number code of a run r with the middle band 2 to `last`: run 1 "001", run r of
// the band the last three digits of r + 999, any other run the code of `last` + 1.
std::string RunNumberCode(std::int32_t r, std::int32_t last);

// The sum of PrizeMoney over runs 1 to n of the horse, read into CurrentRun one by one: a
// signed 32-bit total over a 16-bit counter; a field that is no whole number or a total
// or count past either range abandons the routine.
std::int32_t EarlierPrizeSum(ItemContext& c, std::int32_t n);

// Weight carried per 1000 kg of horse and weight, from 96 to 114 (100 when either weight
// reads as 0), cut to the even number at or below.
std::int64_t EvenWeightShare(std::string_view run);

// Body weight in steps of 8 kg, from 50 to 70 (50 when the weight reads as 0).
std::int64_t BodyWeightSteps(std::string_view run);

// A statistics file of the data folder, its record length and its key field.
struct StatFile {
  std::string_view relative;
  std::size_t recordLength;
  records::FieldRef key;
};

constexpr StatFile StatFileOf(std::string_view relative, const records::Layout& layout,
                              records::FieldRef key) {
  return {relative, static_cast<std::size_t>(layout.storedLength), key};
}

inline constexpr StatFile kJockeyStats =
    StatFileOf(kJockeyStatFileName, kPersonStatLayout, person_stat::PersonCode);
inline constexpr StatFile kTrainerStats =
    StatFileOf(kTrainerStatFileName, kPersonStatLayout, person_stat::PersonCode);
inline constexpr StatFile kHorseStats =
    StatFileOf(kHorseStatFileName, kHorseStatLayout, horse_stat::HorseId);
inline constexpr StatFile kHorseSubsetStats =
    StatFileOf(kRecentHorseStatFileName, kHorseStatLayout, horse_stat::HorseId);
inline constexpr StatFile kStallionStats =
    StatFileOf(kStallionStatFileName, kParentStatLayout, parent_stat::ParentBreedingNumber);
inline constexpr StatFile kMareStats =
    StatFileOf(kMareStatFileName, kParentStatLayout, parent_stat::ParentBreedingNumber);
inline constexpr StatFile kDamStats =
    StatFileOf(kDamHorseStatFileName, kParentStatLayout, parent_stat::ParentBreedingNumber);
inline constexpr StatFile kJockeyCourseStats =
    StatFileOf(kJockeyCourseStatFileName, kJockeyCourseStatLayout, jockey_course_stat::JockeyCode);
inline constexpr StatFile kOwnerStats =
    StatFileOf(kOwnerStatFileName, kBreederOwnerStatLayout, breeder_owner_stat::BreederOwnerCode);
inline constexpr StatFile kBreederStats =
    StatFileOf(kBreederStatFileName, kBreederOwnerStatLayout, breeder_owner_stat::BreederOwnerCode);

// The first record of `file`, from record 1 up, whose key holds exactly `key`; none when no
// record does. The step's cache indexes the file at its first look-up (creating a missing
// file empty) and releases it at the step's end, also when the routine then fails. A
// missing folder abandons the routine.
std::optional<std::string_view> FirstStat(ItemContext& c, const StatFile& file,
                                          std::string_view key);

// The statistics record in `file` of a run's parent (AncestorBlocks element 1 the sire, 2
// the dam); none when the parent is missing (zeros or blanks: no file is read) or not in
// the file.
std::optional<std::string_view> ParentStat(ItemContext& c, std::string_view run, int ancestor,
                                           const StatFile& file);

}  // namespace meridax
