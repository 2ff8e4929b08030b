// Variants of items 14 to 17: rests without the previous-valid-run rule, birth years,
// changes per day of weight carried and body weight, the previous run's popularity, the
// jockey's and the horse's place rates, owners, trainers, and the horse's and the sire's
// rates by track, distance and overall.

#include "datasetup/common/extended_run_record.h"
#include "datasetup/factors/factor_items.h"
#include "datasetup/factors/item_toolkit.h"
#include "datasetup/factors/runner_scoring.h"
#include "datasetup/factorvariants/factor_variants.h"
#include "datasetup/factorvariants/variant_engines.h"
#include "datasetup/factorvariants/variant_scans.h"

namespace meridax {

namespace ex = extended_run;
using records::FieldRef;
using records::View;
using namespace variants;

namespace {

// Course kinds by the track code's text: "00" to "21" turf (0), "23" to "49" dirt (1), any
// other code, "22" among them, jump (2).
int TextKind(std::string_view run) {
  static constexpr TextBandValue<int> kKinds[] = {{"00", "21", 0}, {"23", "49", 1}};
  return TextBandOf(kKinds, 2, View(run, ex::TrackCode));
}

}  // namespace

// ---- Slot 14 ----

std::string Factor14var1(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::int64_t d0 = RunDateOf(c.ReadCurrent());
  std::int32_t w1 = 0, w2 = 0, w3 = 0;
  if (r >= 2) {
    const std::int64_t d1 = RunDateOf(c.Read(r - 1));
    w1 = RestWeeks(d1, d0);
    if (r >= 3) {
      const std::int64_t d2 = RunDateOf(c.Read(r - 2));
      w2 = RestWeeks(d2, d1);
      if (r >= 4) w3 = RestWeeks(RunDateOf(c.Read(r - 3)), d2);
    }
  }
  c.ReadCurrent();
  return RestDigits(w1, w2, w3);
}

// ---- Slot 15 ----

std::string Factor15var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view dam = View(run, ex::AncestorBlocks_BirthYear.In(2));
  const std::string_view horse = View(run, ex::BirthYear);
  if (IsJumpTrack(TrackNumber(run))) {
    if (TextInRange(dam, "0000", "1975")) return "197500";
    return TextInRange(dam, "1976", "1996") ? std::string(dam) + "00" : "199600";
  }
  // A blank year (the run-history builder leaves the dam's so) sorts below "0000".
  const std::string damPart = TextInRange(dam, "0000", "1983")   ? "983"
                              : TextInRange(dam, "1984", "1998") ? std::string(LastChars(dam, 3))
                                                                 : "998";
  const std::string horsePart = TextInRange(horse, "0000", "1998") ? "998"
                                : TextInRange(horse, "2002", "2010")
                                    ? "001"
                                    : std::string(LastChars(horse, 3));
  return damPart + horsePart;
}

std::string Factor15var2(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  if (r == 1) return "100050";
  const std::string_view before = c.Read(r - 1);
  const std::string_view run = c.ReadCurrent();
  const auto k = ChangePerDay(before, run, {ex::WeightCarried, 1, false, true});
  return "1000" + (k ? ChangeBandCode(*k, {"45", "46", "46"}) : std::string("50"));
}

std::string Factor15var3(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string_view run = c.ReadCurrent();
  if (!TextInRange(View(run, ex::TrackCode), "00", "24")) {
    return std::string(View(run, ex::RaceMonthDay).substr(0, 2));
  }
  if (r == 1) return "00";
  std::string code(View(c.Read(r - 1), ex::WinPopularity));
  c.ReadCurrent();
  return code;
}

std::string Factor15var4(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::int64_t day = RunDateOf(run);
  const JockeyRides rides(View(run, ex::JockeyCode));
  // The rides from the race day to 364 days after it, all in this run's course kind.
  const RideTally tally = TallyRides(rides, {1, false, 0, [day](std::string_view ride) {
                                               return FourDigitDays(day, RideDay(ride)) <= 364
                                                          ? RideVerdict::kCount
                                                          : RideVerdict::kSkip;
                                             }});
  std::array<std::string, 3> digits{"0", "0", "0"};
  if (c.CurrentRunCount != 1) {
    digits[static_cast<std::size_t>(TextKind(run))] =
        FixedDigits(ScaledRate(tally.top2, tally.rides, 10, 5), 1);
  }
  const std::string_view track = View(run, ex::TrackCode);
  if (auto code = FlatDigitsCode(track, digits[0], digits[1])) return *code;
  return digits[2] + digits[1] + digits[0];
}

std::string Factor15var5(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  return RateDigit(BreederOwnerRate(c, kOwnerStats, View(run, ex::OwnerCode)));
}

// ---- Slot 16 ----

namespace {

// The body weight's change per day since run r - 1, "1" & a racecourse flag & the band;
// "1250" for a first run. Without `courseFlag` the flag is always "1".
std::string BodyWeightChangeCode(ItemContext& c, bool courseFlag, const ChangeBand& band) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  if (r == 1) return "1250";
  const std::string_view before = c.Read(r - 1);
  const std::string_view run = c.ReadCurrent();
  const auto k = ChangePerDay(before, run, {ex::BodyWeight, 3, false, true});
  const bool sameCourse = View(before, ex::RacecourseCode) == View(run, ex::RacecourseCode);
  const std::string flag = !courseFlag || sameCourse ? "1" : "2";
  return "1" + flag + (k ? ChangeBandCode(*k, band) : std::string("50"));
}

}  // namespace

// Texts above "46" but below "47" ("460") keep their value here.
std::string Factor16var1(ItemContext& c) {
  return BodyWeightChangeCode(c, true, {"46", "47", "46"});
}

std::string Factor16var2(ItemContext& c) {
  return BodyWeightChangeCode(c, false, {"46", "47", "47"});
}

std::string Factor16var3(ItemContext& c) {
  return std::string(View(c.ReadCurrent(), ex::HorseSymbolCode));
}

std::string Factor16var4(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const bool dirt = TextInRange(View(run, ex::TrackCode), "23", "29");
  return Join(run, Cat(Fld(ex::WeatherCode), Fld(dirt ? ex::DirtGoingCode : ex::TurfGoingCode)));
}

// ---- Slot 17 ----

std::string Factor17var1(ItemContext& c) {
  return PreviousRunScoreCode(
      c, {&RunnerScoring::SumPaceWeights, &RunnerScoring::PaceScoreTotals, PaceSpeed, false});
}

namespace {

std::optional<RateLine> SireTop2Line(std::string_view run) {
  const std::int16_t t = TrackNumber(run);
  const bool overall = InRange(t, 10, 21) || InRange(t, 23, 26);
  return RateLine{overall ? parent_stat::OverallTop2Rate : parent_stat::LineTop2Rates.At(7), "1"};
}
constexpr RateFigure kSireTop2Rate{kStallionStats, SireTop2Line, RateScale::kPercent};

std::string_view Sire(std::string_view run) {
  return View(run, ex::AncestorBlocks_BreedingNumber.In(1));
}

}  // namespace

std::string Factor17var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string code = RateFigureCode(c, run, Sire(run), kSireTop2Rate).value_or("10");
  return Val(code) > 100 ? "19" : code;
}

namespace {

// Turf by distance up to 1600 m and above (0, 1), dirt below 1600 m and from 1600 m
// (2, 3), jump (4); the distance is read only on the flat.
int KindDistanceBin(std::string_view run) {
  const int kind = TextKind(run);
  if (kind == 2) return 4;
  const std::int16_t d = CInt16(View(run, ex::Distance));
  return kind == 0 ? (d <= 1600 ? 0 : 1) : (d < 1600 ? 2 : 3);
}

constexpr EarlierPlacesRule kTop2ByKind{TextKind, "02", 10, 5, 1};
constexpr EarlierPlacesRule kTop3ByKind{TextKind, "03", 10, 9, 1};
constexpr EarlierPlacesRule kTop3ByKindAndDistance{KindDistanceBin, "03", 10, 9, 1};

}  // namespace

std::string Factor17var3(ItemContext& c) {
  const auto d = EarlierPlaces(c, kTop2ByKind);
  const std::string_view run = c.CurrentRun;
  if (auto code = FlatDigitsCode(View(run, ex::TrackCode), d[0], d[1])) return *code;
  return std::string(View(run, ex::RaceConditionSymbol)) + "0";
}

std::string Factor17var4(ItemContext& c) {
  const auto d = EarlierPlaces(c, kTop3ByKind);
  const std::string_view track = View(c.CurrentRun, ex::TrackCode);
  if (TextInRange(track, "00", "21")) return d[0] + d[1];
  if (TextInRange(track, "22", "49")) return d[1] + d[0];
  return d[0] + d[1] + d[2];
}

std::string Factor17var5(ItemContext& c) {
  const auto d = EarlierPlaces(c, kTop3ByKindAndDistance);
  const std::string_view run = c.CurrentRun;
  const std::string_view track = View(run, ex::TrackCode);
  const bool turf = TextInRange(track, "00", "21");
  // "22" counts as jump above but takes the dirt digits here.
  if (!turf && !TextInRange(track, "22", "49")) return d[4];
  const std::int16_t distance = CInt16(View(run, ex::Distance));
  const std::size_t own = turf ? (distance <= 1600 ? 0 : 1) : (distance < 1600 ? 2 : 3);
  const std::size_t other = own ^ 1;  // the kind's other distance band
  return d[own] + d[other];
}

std::string Factor17var6(ItemContext& c) {
  const KindPlaceRates rates = EarlierPlaceRates(c);
  const auto& v = rates.rates;
  const auto flag = [](const std::string& value) { return value == "00" ? "0" : "1"; };
  switch (rates.currentKind) {
    case 0:
      return v[0] + flag(v[1]);
    case 1:
      return v[1] + flag(v[0]);
    default:
      return v[2] + flag(v[1]);
  }
}

namespace {

// The count line of a track code: 10 straight turf (1), 11 to 16 left-handed turf (3), 17
// to 21 right-handed turf (2), 23 left-handed dirt (6), 24 to 26 right-handed dirt (5),
// any other code, 22 among them, jump (7).
int TrackLine(std::string_view run) {
  static constexpr TrackBandValue<int> kLines[] = {
      {10, 10, 1}, {11, 16, 3}, {17, 21, 2}, {23, 23, 6}, {24, 26, 5}};
  return BandOf(kLines, 7, TrackNumber(run));
}

std::optional<RateLine> HorseTrackLine(std::string_view run) {
  return RateLine{horse_stat::LineTop3Rates.At(TrackLine(run)), "1"};
}
std::optional<RateLine> SireTrackLine(std::string_view run) {
  return RateLine{parent_stat::LineTop3Rates.At(TrackLine(run)), "2"};
}
std::optional<RateLine> HorseOverall(std::string_view) {
  return RateLine{horse_stat::OverallTop3Rate, "1"};
}
std::optional<RateLine> SireOverall(std::string_view) {
  return RateLine{parent_stat::OverallTop3Rate, "1"};
}
std::optional<RateLine> HorseJumpLine(std::string_view) {
  return RateLine{horse_stat::LineTop3Rates.At(7), "1"};
}
// Turf by the distance's text, dirt by its number: lines 20 to 22 and 23 to 25, the first
// band up to 1600 m with the suffix "1", the others "2".
std::optional<RateLine> SireDistanceLine(std::string_view run) {
  const std::int16_t t = TrackNumber(run);
  const std::string_view distance = View(run, ex::Distance);
  int band = 2;
  if (InRange(t, 10, 22)) {
    band = TextInRange(distance, "1000", "1600")   ? 0
           : TextInRange(distance, "1601", "2100") ? 1
                                                   : 2;
    return RateLine{parent_stat::LineTop3Rates.At(20 + band), band == 0 ? "1" : "2"};
  }
  const std::int16_t d = CInt16(distance);
  band = InRange(d, 1000, 1600) ? 0 : InRange(d, 1601, 2100) ? 1 : 2;
  return RateLine{parent_stat::LineTop3Rates.At(23 + band), band == 0 ? "1" : "2"};
}

constexpr RateFigure kHorseTrackRate{kHorseSubsetStats, HorseTrackLine, RateScale::kPercent};
constexpr RateFigure kSireTrackRate{kStallionStats, SireTrackLine, RateScale::kPercent};
constexpr RateFigure kHorseOverallRate{kHorseSubsetStats, HorseOverall, RateScale::kPercent};
constexpr RateFigure kJumpHorseOverallRate{kHorseStats, HorseOverall, RateScale::kPercent};
constexpr RateFigure kSireOverallRate{kStallionStats, SireOverall, RateScale::kPercent};
constexpr RateFigure kJumpHorseRate{kHorseStats, HorseJumpLine, RateScale::kPercent};
constexpr RateFigure kSireDistanceRate{kStallionStats, SireDistanceLine, RateScale::kPercent};

std::string HorseFigure(ItemContext& c, std::string_view run, const RateFigure& figure) {
  return RateFigureCode(c, run, View(run, ex::HorseId), figure).value_or("10");
}
std::string SireFigure(ItemContext& c, std::string_view run, const RateFigure& figure) {
  return RateFigureCode(c, run, Sire(run), figure).value_or("10");
}

// Races for two-year-olds only ("701") keep "10"; codes above 116 become "116".
std::string YoungestAgeCapped(std::string_view run, std::string code) {
  if (View(run, ex::YoungestAgeCondition) == "701") return "10";
  return Val(code) > 116 ? "116" : code;
}

}  // namespace

std::string Factor17var7(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  return HorseFigure(c, run, kHorseTrackRate);
}

std::string Factor17var8(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string code = HorseFigure(c, run, kHorseTrackRate);
  return code == "10" ? SireFigure(c, run, kSireTrackRate) : code;
}

std::string Factor17var9(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const RateFigure& figure =
      IsJumpTrack(TrackNumber(run)) ? kJumpHorseOverallRate : kHorseOverallRate;
  return YoungestAgeCapped(run, HorseFigure(c, run, figure));
}

std::string Factor17var10(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::int16_t t = TrackNumber(run);
  std::string code = "10";
  if (IsJumpTrack(t)) {
    code = HorseFigure(c, run, kJumpHorseRate);
  } else if (InRange(t, 10, 24)) {
    code = SireFigure(c, run, kSireDistanceRate);
  }
  return YoungestAgeCapped(run, std::move(code));
}

std::string Factor17var11(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  return YoungestAgeCapped(run, SireFigure(c, run, kSireOverallRate));
}

std::string Factor17var12(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view trainer = View(run, ex::TrainerCode);
  std::string code = "00";
  if (trainer != "00000") {
    if (const auto stat = FirstStat(c, kTrainerStats, trainer)) {
      const bool flat = InRange(TrackNumber(run), 0, 29);
      code = PrizeLogDigits(*stat, flat ? kPersonFlatPrize : kPersonJumpPrize);
    }
  }
  if (code <= "26") return "26";
  return code <= "36" ? code : "36";
}

}  // namespace meridax
