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
  std::string code = TimeBehindClass(View(previous, ex::TimeBehindWinner), previous, true);
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
  return PreviousRunScoreCode(
      c, {&RunnerScoring::SumAgariWeights, &RunnerScoring::AgariScoreTotals, AgariSpeed, true});
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
