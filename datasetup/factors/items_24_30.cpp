// Items 24 to 30: horse number and symbol, the previous valid run's time behind the
// winner, the meeting, the field size, the previous run's last-3-furlong speed against the
// weights' prediction, and the horse's prize money per start.

#include <cmath>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/factors/factor_items.h"
#include "datasetup/factors/runner_scoring.h"
#include "platform/numbers.h"

namespace meridax {

namespace {
namespace ex = extended_run;
using records::View;

// Item 26's classes of a TimeBehindWinner (a sign and three digits in tenths of a
// second), the first rule that fits winning; `previous` is the run it belongs to.
std::string TimeBehindClass(std::string_view d, std::string_view previous) {
  if (d == "0000" || d == "    " || d == "+999" || d == "-999" || d == "9999") return "0099";
  // A winner's time carries a minus sign and its margin over the second horse.
  if (d == "-000") return "0001";
  if (d == "-001") return "0002";
  if (d == "-002") return "0003";
  if (d == "-003" || d == "-004") return "0004";
  if (TextInRange(d, "-005", "-009")) return "0005";
  if (TextInRange(d, "-010", "-998")) return "0006";
  if (d == "+000") {
    if (View(previous, ex::ArrivalOrder) == "02") {
      return "+" + std::string(View(previous, ex::MarginCode));
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

}  // namespace

std::string Factor24(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view number = View(run, ex::HorseNumber);
  std::string code;
  if (InRange(TrackNumber(run), 0, 24)) {
    code = std::string(number) + "1";
  } else {
    code = InRange(CInt16(number), 0, 14) ? std::string(number) : "14";
  }
  c.ReadCurrent();
  return code;
}

std::string Factor25(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view symbol = View(run, ex::HorseSymbolCode);
  std::string code =
      symbol != "00" ? std::string(symbol) : std::string(View(run, ex::BirthMonth)) + "1";
  c.ReadCurrent();
  return code;
}

std::string Factor26(ItemContext& c) {
  c.ReadCurrent();
  if (c.CurrentRunNumber <= 1) return "0099";
  const std::string_view previous = c.Read(PreviousValidRun(c, c.CurrentRunNumber));
  std::string code = TimeBehindClass(View(previous, ex::TimeBehindWinner), previous);
  c.ReadCurrent();
  return code;
}

std::string Factor27(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  std::string code =
      std::string(View(run, ex::MeetingNumber)) + std::string(View(run, ex::MeetingDay));
  // Off the turf and dirt codes 0 to 24 the late days of a third meeting count as the first.
  if (!InRange(TrackNumber(run), 0, 24) && (code == "0310" || code == "0311")) {
    code = "0101";
  }
  c.ReadCurrent();
  return code;
}

std::string Factor28(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view track = View(run, ex::TrackCode);
  const std::string_view entered = View(run, ex::RegisteredCount);
  if (TextInRange(entered, "00", "08")) return "08";
  if (TextInRange(track, "00", "29") || TextInRange(entered, "09", "14")) {
    return std::string(entered);
  }
  return "14";
}

std::string Factor29(ItemContext& c) {
  c.ReadCurrent();
  if (c.CurrentRunNumber <= 1) return "10";
  const std::string_view previous = c.Read(PreviousValidRun(c, c.CurrentRunNumber));
  if (c.scoring == nullptr || c.CurrentItemRecord == nullptr) {
    throw ItemAbandoned("no runner scoring in this context");
  }
  RunnerScoring& scoring = *c.scoring;
  scoring.RunnerCategoryRows.fill(0);
  const std::int16_t track = TrackNumber(previous);
  // Items 1 to 28 are this run's; 29 and 30 still the previous record's.
  scoring.CategorizeRunnerItems(*c.CurrentItemRecord, previous);
  scoring.SumAgariWeights(previous);
  // The total is read by the flat and jump bands, so a previous run on the dirt tracks 25
  // to 29, which the scoring counts as jump, has the score 0.
  const ScoreTotals& totals = scoring.AgariScoreTotals;
  const float score = InRange(track, 0, 22)    ? totals[1]
                      : InRange(track, 23, 49) ? totals[2]
                                               : totals[3];
  const std::int16_t agari = CInt16(std::string_view(AgariSpeed(c)).substr(0, 2));
  const std::int16_t predicted = Checked16(std::floor(static_cast<double>(score)));
  const std::int16_t value = Checked16(static_cast<double>(agari) - predicted + 10);
  std::string code = value < 0 || value > 15 ? "10" : DecimalText(value);
  c.ReadCurrent();
  return code;
}

std::string Factor30(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view horse = View(run, ex::HorseId);
  std::string code = "10";
  if (!IsMissingCode(horse)) {
    if (const auto stat = FirstStat(c, kHorseStats, horse)) {
      const bool flat = InRange(TrackNumber(run), 0, 49);
      const double starts = Val(View(*stat, flat ? horse_stat::JraStarts : horse_stat::JumpStarts));
      const double prize =
          Val(View(*stat, flat ? horse_stat::FlatPrizeTotal : horse_stat::JumpPrizeTotal));
      code = "00";
      if (starts != 0) {
        const double perStart = prize / starts;
        // Logs below 0 wrap through the last two digits of 100 + the figure.
        if (perStart != 0)
          code = std::string(LastChars(DecimalText(FloorTenLog10(perStart) + 100), 2));
      }
      if (code == "00") code = c.CurrentRunNumber < 20 ? DecimalText(c.CurrentRunNumber) : "19";
    }
  }
  if (Val(code) < 6) code = "5";
  if (Val(code) > 53) code = "53";
  c.ReadCurrent();
  return code;
}

}  // namespace meridax
