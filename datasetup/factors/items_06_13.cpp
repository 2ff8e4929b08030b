// Items 6 to 13: race condition, the jockey's and the horse's top-three rates, run number,
// weight carried against body weight, body weight, sex and age, and the sire's offspring
// earnings.

#include <optional>

#include "datasetup/factors/factor_items.h"

namespace meridax {

namespace ex = extended_run;
using records::FieldRef;
using records::View;

std::string Factor06(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  std::string code(View(run, ex::RaceConditionSymbol).substr(0, 2));
  const std::int16_t t = TrackNumber(run);
  if ((t == 23 || t == 24) && code == "N2") code = "N0";
  return code;
}

namespace {

// The jockey's rate by course kind: turf 0 to 22, dirt 23 to 29, every other code jump.
constexpr TrackBandValue<FieldRef> kJockeyRateBands[] = {{0, 22, person_stat::TotalTurfTop3Rate},
                                                         {23, 29, person_stat::TotalDirtTop3Rate}};
constexpr FieldRef kJockeyRateOtherwise = person_stat::JumpTop3Rate;

// The horse's rate: overall on the flat (0 to 49), the jump line elsewhere.
constexpr TrackBandValue<FieldRef> kHorseRateBands[] = {{0, 49, horse_stat::OverallTop3Rate}};
constexpr FieldRef kHorseRateOtherwise = horse_stat::LineTop3Rates.At(7);

}  // namespace

namespace {

// The 4-per-cent step of the rate that the run's statistics record keeps for its course
// kind; none when the run's key is missing or no record has it. The track code is read on
// a match and, as the routines have it, also for a missing key, where it fails alike.
template <std::size_t N>
std::optional<std::int64_t> RateStepsOf(ItemContext& c, std::string_view run, FieldRef key,
                                        const StatFile& file,
                                        const TrackBandValue<FieldRef> (&bands)[N],
                                        FieldRef otherwise) {
  const std::string_view code = View(run, key);
  if (IsMissingCode(code)) {
    TrackNumber(run);
    return std::nullopt;
  }
  const auto stat = FirstStat(c, file, code);
  if (!stat) return std::nullopt;
  return RateSteps4(View(*stat, BandOf(bands, otherwise, TrackNumber(run))));
}

}  // namespace

std::string Factor07(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  std::string code = "10";
  if (const auto steps = RateStepsOf(c, run, ex::JockeyCode, kJockeyStats, kJockeyRateBands,
                                     kJockeyRateOtherwise)) {
    code = "1" + DecimalText(*steps);
  }
  const double n = Val(code);
  if (n > 19 || n < 0) code = "19";
  if (code == "10") code = "11";
  return code;
}

std::string Factor08(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  std::string code = "10";
  if (const auto steps =
          RateStepsOf(c, run, ex::HorseId, kHorseStats, kHorseRateBands, kHorseRateOtherwise)) {
    code = DecimalText(*steps);
  }
  return code;
}

std::string Factor09(ItemContext& c) {
  c.ReadCurrent();
  return RunNumberCode(c.CurrentRunNumber, 50);
}

std::string Factor10(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  std::int64_t q = EvenWeightShare(run);
  const std::string_view sex = View(run, ex::SexCode);
  if (sex != "1" && sex != "3") q += 200;
  if (q == 300) q = 100;
  return FixedDigits(q, 3);
}

std::string Factor11(ItemContext& c) {
  return DecimalText(BodyWeightSteps(c.ReadCurrent()));
}

namespace {

// The least age in months by course kind: 27 on the flat (0 to 29), 40 elsewhere.
constexpr TrackBandValue<double> kLeastAgeBands[] = {{0, 29, 27}};
constexpr double kLeastAgeOtherwise = 40;

}  // namespace

std::string Factor12(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::int64_t birth =
      CalendarDay(View(run, ex::BirthYear), View(run, ex::BirthMonth), View(run, ex::BirthDay));
  const std::int64_t race = RunDateOf(run);
  const std::int64_t d = FixedDigitsValue(race - birth, 4);
  double m = Int(static_cast<double>(d) / 30 + 0.5);
  const double least = BandOf(kLeastAgeBands, kLeastAgeOtherwise, TrackNumber(run));
  if (m > 90) {
    m = 90;
  } else if (m < least) {
    m = least;
  }
  if (m >= 43) m = Int(m / 3) + 29;
  const std::string_view sex = View(run, ex::SexCode);
  const std::string digit = sex == "1" ? "1" : sex == "2" ? "2" : "3";
  std::string code = digit + FixedDigits(static_cast<std::int64_t>(m), 2);
  if (TextInRange(code, "327", "333")) {
    code = "334";
  } else if (code == "240") {
    code = "241";
  } else if (code == "340") {
    code = "341";
  }
  return code;
}

std::string Factor13(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  std::string code = "00";
  const std::string_view sire = View(run, ex::AncestorBlocks_BreedingNumber.In(1));
  if (!IsMissingCode(sire)) {
    if (const auto stat = FirstStat(c, kStallionStats, sire)) {
      // The track code is read on a match, though every course kind takes the same sum.
      TrackNumber(run);
      const double x = Val(View(*stat, parent_stat::OffspringFlatEarningsTotal));
      code = x == 0 ? "00" : DecimalText(FloorTenLog10(x));
    }
  }
  return code;
}

}  // namespace meridax
