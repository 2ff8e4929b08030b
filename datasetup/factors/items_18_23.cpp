// Items 18 to 23: the jockey's age, the trainer's and the sire's statistics, the race
// number and grade, and the distance.

#include "datasetup/common/extended_run_record.h"
#include "datasetup/factors/factor_items.h"
#include "platform/numbers.h"

namespace meridax {

namespace {
namespace ex = extended_run;
using records::View;
}  // namespace

std::string Factor18(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view band = JockeyAgeBand(run);
  const std::int32_t track = CInt32(View(run, ex::TrackCode));
  // Apprentices' allowances count on the flat only.
  const std::string_view apprentice = InRange(track, 0, 29) ? View(run, ex::ApprenticeCode) : "0";
  return "0" + std::string(band) + std::string(apprentice);
}

std::string Factor19(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::int16_t track = TrackNumber(run);
  const std::string_view trainer = View(run, ex::TrainerCode);
  if (trainer == "00000" || trainer == "     ") return "10";
  const auto stat = FirstStat(c, kTrainerStats, trainer);
  if (!stat) return "10";
  static constexpr TrackBandValue<records::FieldRef> kRates[] = {
      {0, 22, person_stat::TotalTurfTop3Rate}, {23, 49, person_stat::TotalDirtTop3Rate}};
  const records::FieldRef rate = BandOf(kRates, person_stat::JumpTop3Rate, track);
  const std::string code = "1" + DecimalText(RateSteps4(View(*stat, rate)));
  return Val(code) > 110 ? "110" : code;
}

std::string Factor20(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const auto stat = ParentStat(c, run, 1, kStallionStats);
  if (!stat) return "0";
  const bool flat = InRange(TrackNumber(run), 0, 29);
  const double starts = Val(View(*stat, flat ? parent_stat::JraStarts : parent_stat::JumpStarts));
  if (starts == 0) return "0";
  const double prize = Val(View(
      *stat, flat ? parent_stat::OffspringFlatPrizeTotal : parent_stat::OffspringJumpPrizeTotal));
  const double ratio = prize / starts;
  if (ratio == 0) return "0";
  int v = FloorTenLog10(ratio);
  if (v >= 1 && v <= 24) v = 25;
  if (v > 46) v = 46;
  return DecimalText(v);
}

std::string Factor21(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view grade = View(run, ex::GradeCode);
  if (InRange(TrackNumber(run), 0, 24)) {
    return std::string(View(run, ex::RaceNumber)) + std::string(grade);
  }
  return std::string(grade);
}

std::string Factor22(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  if (InRange(TrackNumber(run), 0, 29)) {
    return std::string(View(run, ex::Distance)) + std::string(View(run, ex::CourseDivision));
  }
  const std::int16_t distance = CInt16(View(run, ex::Distance));
  if (InRange(distance, 0, 2800)) return "2800";
  if (InRange(distance, 2801, 2999)) return "2900";
  if (InRange(distance, 3000, 3500)) return "3500";
  return "4000";
}

std::string Factor23(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const auto stat = ParentStat(c, run, 1, kStallionStats);
  if (!stat) return "10";
  const std::int16_t track = TrackNumber(run);
  const std::int16_t distance = CInt16(View(run, ex::Distance));
  // Distance lines 20 to 22 are turf up to 1600 m, up to 2200 m and longer, 23 to 25 the
  // same on dirt; jumps have one line, 7.
  int band = InRange(distance, 0, 1600) ? 1 : InRange(distance, 1601, 2200) ? 2 : 3;
  int line = 0;
  if (InRange(track, 0, 22)) {
    line = 19 + band;
  } else if (InRange(track, 23, 49)) {
    line = 22 + band;
  } else {
    line = 7;
    band = 1;
  }
  const std::string code =
      DecimalText(band) + DecimalText(RateSteps4(View(*stat, parent_stat::LineTop3Rates.At(line))));
  const double w = Int(Val(code));
  if (w == 0 || w == 10 || w == 20 || w == 30) return "10";
  if (w >= 110 && w <= 130) return "19";
  if (w >= 210 && w <= 230) return "29";
  if (w >= 310 && w <= 330) return "39";
  return code;
}

}  // namespace meridax
