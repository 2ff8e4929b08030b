#pragma once

// The computations that several item variants share, each with its parameters: codes
// joined from run fields, remaps of finished codes, digits chosen by date windows,
// figures of a statistics record, rates of place counts and the prize-per-run logarithm.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "datasetup/factors/item_context.h"
#include "datasetup/factors/item_toolkit.h"
#include "records/layout.h"

namespace meridax::variants {

// ---- Codes joined from fields ----

// One segment of a code: a literal, a run field, the first or last n characters of a field,
// or value i of the texts the caller worked out before (a racecourse letter, a class).
struct Segment {
  enum class Kind { kLiteral, kField, kLeft, kRight, kValue };
  Kind kind = Kind::kLiteral;
  std::string_view literal;
  records::FieldRef field;
  std::size_t n = 0;
};

constexpr Segment Lit(std::string_view text) {
  return {Segment::Kind::kLiteral, text, {}, 0};
}
constexpr Segment Fld(records::FieldRef field) {
  return {Segment::Kind::kField, {}, field, 0};
}
constexpr Segment Left(records::FieldRef field, std::size_t n) {
  return {Segment::Kind::kLeft, {}, field, n};
}
constexpr Segment Right(records::FieldRef field, std::size_t n) {
  return {Segment::Kind::kRight, {}, field, n};
}
constexpr Segment Value(std::size_t i) {
  return {Segment::Kind::kValue, {}, {}, i};
}

// The segments of one code, in order.
struct Recipe {
  std::array<Segment, 8> segments{};
  std::size_t count = 0;
};

template <typename... P>
constexpr Recipe Cat(P... segments) {
  static_assert(sizeof...(P) <= 8, "a recipe holds up to eight segments");
  return Recipe{{segments...}, sizeof...(P)};
}

// The code of a recipe over a run and the caller's values.
std::string Join(std::string_view run, const Recipe& recipe,
                 std::initializer_list<std::string_view> values = {});

// ---- Remaps of finished codes ----

// A code that becomes another.
struct CodeRemap {
  std::string_view from;
  std::string_view to;
};
// The codes whose numeric value (Val) lies from lo to hi become `to`.
struct ValueRemap {
  double lo;
  double hi;
  std::string_view to;
};

// The code after the first remap that takes it; unchanged when none does.
std::string Remapped(std::string code, std::span<const CodeRemap> remaps);
std::string Remapped(std::string code, std::span<const ValueRemap> remaps);

// ---- Digits by date windows ----

// A digit for the run dates from `from` to `to` (yyyymmdd, inclusive). An entry left empty
// (`to` 0) holds no date.
struct DatedDigit {
  std::int32_t from = 0;
  std::int32_t to = 0;
  std::string_view digit;
};

// The digit of the first window holding the date, else `otherwise`.
struct DateDigits {
  std::array<DatedDigit, 3> windows{};
  std::string_view otherwise;
};
// The same for one racecourse.
struct CourseDateDigits {
  std::string_view racecourse;
  DateDigits digits;
};

// The run date as the number yyyymmdd (RaceYear & RaceMonthDay read with Val).
std::int32_t RunDateNumber(std::string_view run);
std::string_view DigitOn(const DateDigits& digits, std::int32_t date);
// The digit of the racecourse's row; none when the table has no row for it.
std::optional<std::string_view> CourseDigitOn(std::span<const CourseDateDigits> table,
                                              std::string_view racecourse, std::int32_t date);

// A track number above `flatTop` (49 unless a variant draws the line lower) or below 0:
// a jump track.
inline bool IsJumpTrack(std::int16_t track, int flatTop = 49) {
  return track < 0 || track > flatTop;
}

// ---- Figures of statistics records ----

// The rate a statistics record keeps and the digits that lead the code.
struct RateLine {
  records::FieldRef field;
  std::string_view prefix;
};
// The line a variant reads for a run; none keeps its default code. Called on a match only,
// so what it converts fails only then.
using RateLineChoice = std::optional<RateLine> (*)(std::string_view run);

// Buckets of a FixedRate6: Int(figure / 4000) in steps of 4 per cent, Int(figure / 1000)
// in per cent.
enum class RateScale { kSteps4, kPercent };

struct RateFigure {
  StatFile file;
  RateLineChoice line;
  RateScale scale;
};

// prefix & the bucket of a line of a statistics record.
std::string LineCode(std::string_view stat, const RateLine& line, RateScale scale);

// The line code of the first record of the file keyed `key`; none when no record has the
// key or no line is chosen.
std::optional<std::string> RateFigureCode(ItemContext& c, std::string_view run,
                                          std::string_view key, const RateFigure& figure);

// The going choice: a going code "0" or "1" selects line `first` of `lines`, "2" to "4" the
// three after it, with the code digit "1" to "4"; any other going code selects none.
std::optional<RateLine> GoingLine(std::string_view goingCode, records::FieldRef lines, int first);

// ---- Rates of place counts ----

// top x 25 / total to the nearest whole number, halves to even, capped at 20; 0 when the
// total is 0.
std::int64_t PlaceRate(std::int64_t top, std::int64_t total);

// The place rates of a horse's runs 1 to r - 1 by course kind (index 0 turf, 1 dirt, 2
// jump; turf 0 to 22, dirt 23 to 49, any other code jump), each as two digits, and the
// kind of run r. A run counts as placed with ArrivalOrder "01" to "03". For r = 1 the
// current run's own kind reads "20" when it placed. A file of one run reads "00" for all.
// Reads the earlier runs into CurrentRun and run r again.
struct KindPlaceRates {
  std::array<std::string, 3> rates;
  int currentKind;
};
KindPlaceRates EarlierPlaceRates(ItemContext& c);

// The course-kind index of a run as EarlierPlaceRates counts it; the track code must
// convert.
int PlaceKind(std::string_view run);

// ---- Prize per run ----

// The figures a statistics record keeps for the flat and for jumps.
struct PrizeFields {
  records::FieldRef runs;
  records::FieldRef prize;
};

// prize / runs of a record's figures read with Val; none when runs is 0.
std::optional<double> PrizePerRun(std::string_view stat, const PrizeFields& fields);

}  // namespace meridax::variants
