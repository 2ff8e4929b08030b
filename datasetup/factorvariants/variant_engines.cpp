#include "datasetup/factorvariants/variant_engines.h"

#include <algorithm>

#include "datasetup/common/extended_run_record.h"
#include "platform/numbers.h"

namespace meridax::variants {

namespace ex = extended_run;
using records::View;

std::string Join(std::string_view run, const Recipe& recipe,
                 std::initializer_list<std::string_view> values) {
  std::string code;
  for (std::size_t i = 0; i < recipe.count; ++i) {
    const Segment& p = recipe.segments[i];
    switch (p.kind) {
      case Segment::Kind::kLiteral:
        code += p.literal;
        break;
      case Segment::Kind::kField:
        code += View(run, p.field);
        break;
      case Segment::Kind::kLeft:
        code += View(run, p.field).substr(0, p.n);
        break;
      case Segment::Kind::kRight:
        code += LastChars(View(run, p.field), p.n);
        break;
      case Segment::Kind::kValue:
        code += values.begin()[p.n];
        break;
    }
  }
  return code;
}

std::string Remapped(std::string code, std::span<const CodeRemap> remaps) {
  for (const CodeRemap& r : remaps) {
    if (code == r.from) return std::string(r.to);
  }
  return code;
}

std::string Remapped(std::string code, std::span<const ValueRemap> remaps) {
  const double v = Val(code);
  for (const ValueRemap& r : remaps) {
    if (v >= r.lo && v <= r.hi) return std::string(r.to);
  }
  return code;
}

std::int32_t RunDateNumber(std::string_view run) {
  const std::string text =
      std::string(View(run, ex::RaceYear)) + std::string(View(run, ex::RaceMonthDay));
  // Eight digits at most: the value always fits.
  return static_cast<std::int32_t>(std::clamp(Val(text), -2.0e9, 2.0e9));
}

std::string_view DigitOn(const DateDigits& digits, std::int32_t date) {
  for (const DatedDigit& w : digits.windows) {
    if (w.to != 0 && date >= w.from && date <= w.to) return w.digit;
  }
  return digits.otherwise;
}

std::optional<std::string_view> CourseDigitOn(std::span<const CourseDateDigits> table,
                                              std::string_view racecourse, std::int32_t date) {
  for (const CourseDateDigits& row : table) {
    if (row.racecourse == racecourse) return DigitOn(row.digits, date);
  }
  return std::nullopt;
}

std::string LineCode(std::string_view stat, const RateLine& line, RateScale scale) {
  const std::string_view rate = View(stat, line.field);
  return std::string(line.prefix) +
         DecimalText(scale == RateScale::kSteps4 ? RateSteps4(rate) : RatePercent(rate));
}

std::optional<std::string> RateFigureCode(ItemContext& c, std::string_view run,
                                          std::string_view key, const RateFigure& figure) {
  const auto stat = FirstStat(c, figure.file, key);
  if (!stat) return std::nullopt;
  const auto line = figure.line(run);
  if (!line) return std::nullopt;
  return LineCode(*stat, *line, figure.scale);
}

std::optional<RateLine> GoingLine(std::string_view goingCode, records::FieldRef lines, int first) {
  static constexpr TextBandValue<int> kGoingLines[] = {
      {"0", "1", 0}, {"2", "2", 1}, {"3", "3", 2}, {"4", "4", 3}};
  static constexpr std::string_view kDigits[] = {"1", "2", "3", "4"};
  const int i = TextBandOf(kGoingLines, -1, goingCode);
  if (i < 0) return std::nullopt;
  return RateLine{lines.At(first + i), kDigits[i]};
}

std::int64_t PlaceRate(std::int64_t top, std::int64_t total) {
  if (total == 0) return 0;
  const double rate = RoundHalfEven(static_cast<double>(top) * 25 / static_cast<double>(total));
  return std::min<std::int64_t>(static_cast<std::int64_t>(rate), 20);
}

namespace {
constexpr TrackBandValue<int> kPlaceKinds[] = {{0, 22, 0}, {23, 49, 1}};
constexpr int kPlaceKindOtherwise = 2;

constexpr TextBandValue<bool> kPlacedOrders[] = {{"01", "03", true}};

bool Placed(std::string_view run) {
  return TextBandOf(kPlacedOrders, false, View(run, ex::ArrivalOrder));
}
}  // namespace

int PlaceKind(std::string_view run) {
  return BandOf(kPlaceKinds, kPlaceKindOtherwise, TrackNumber(run));
}

KindPlaceRates EarlierPlaceRates(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string_view current = c.ReadCurrent();
  KindPlaceRates out{{"00", "00", "00"}, 0};
  if (r > 1) {
    std::array<std::int64_t, 3> runs{}, top{};
    for (std::int32_t k = 1; k <= r - 1; ++k) {
      const std::string_view earlier = c.Read(k);
      const int kind = PlaceKind(earlier);
      ++runs[kind];
      if (Placed(earlier)) ++top[kind];
    }
    for (int kind = 0; kind < 3; ++kind)
      out.rates[kind] = FixedDigits(PlaceRate(top[kind], runs[kind]), 2);
  } else if (r == 1 && Placed(current)) {
    out.rates[PlaceKind(current)] = "20";
  }
  const std::string_view run = c.ReadCurrent();
  if (c.CurrentRunCount == 1) out.rates = {"00", "00", "00"};
  out.currentKind = PlaceKind(run);
  return out;
}

std::optional<double> PrizePerRun(std::string_view stat, const PrizeFields& fields) {
  const double runs = Val(View(stat, fields.runs));
  if (runs == 0) return std::nullopt;
  return Val(View(stat, fields.prize)) / runs;
}

}  // namespace meridax::variants
