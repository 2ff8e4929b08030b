// Variants of items 6 to 13: jockey codes and rates, the previous run's places and odds,
// going and the horse's, the sire's and the earlier runs' rates, run number, weights, and
// the meeting calendar with the prize per run of jockeys and sires.

#include <stdexcept>

#include "datasetup/factors/item_toolkit.h"
#include "datasetup/factorvariants/factor_variants.h"
#include "datasetup/factorvariants/variant_engines.h"
#include "datasetup/factorvariants/variant_scans.h"
#include "datasetup/factorvariants/variant_tables.h"

namespace meridax {

namespace ex = extended_run;
using records::FieldRef;
using records::View;
using namespace variants;

namespace {

// Weather digit: "1" to "4" as stored, any other weather "4".
std::string_view WeatherDigit(std::string_view run) {
  const std::string_view w = View(run, ex::WeatherCode);
  return TextInRange(w, "1", "4") ? w : "4";
}

}  // namespace

// ---- Slot 6 ----

namespace {

const JockeyCountTable& JockeyCounts(const ItemContext& c) {
  static const JockeyCountTable kOpened;
  return c.jockeyCounts != nullptr ? *c.jockeyCounts : kOpened;
}

}  // namespace

// With the table as the window fills it (never), every run gives "000".
std::string Factor06var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  return CountTableCode(JockeyCounts(c), CInt32(View(run, ex::JockeyCode)), run);
}

std::string Factor06var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const bool early = TextInRange(View(run, ex::TrackCode), "00", "49") &&
                     TextInRange(View(run, ex::RaceYear), "2000", "2008");
  std::string code = std::string(View(run, ex::JockeyCode)) + (early ? "1" : "0");
  const std::string_view abnormality = View(run, ex::AbnormalityCode);
  if (abnormality != "0") code = code.substr(0, 5) + std::string(abnormality);
  return code;
}

namespace {

std::optional<RateLine> JockeyJumpLine(std::string_view) {
  return RateLine{person_stat::JumpTop3Rate, "1"};
}
constexpr RateFigure kJockeyJumpRate{kJockeyStats, JockeyJumpLine, RateScale::kPercent};

// The racecourse's pair: the Saturday rate on weekday "1", the other-day rate otherwise.
std::optional<RateLine> JockeyCourseLine(std::string_view run) {
  const std::string_view rc = View(run, ex::RacecourseCode);
  for (int course = 1; course <= 10; ++course) {
    if (rc == FixedDigits(course, 2)) {
      const bool saturday = View(run, ex::WeekdayCode) == "1";
      return RateLine{jockey_course_stat::kCourseRates[course].At(saturday ? 1 : 2),
                      saturday ? "1" : "2"};
    }
  }
  return std::nullopt;
}
constexpr RateFigure kJockeyCourseRate{kJockeyCourseStats, JockeyCourseLine, RateScale::kPercent};

}  // namespace

std::string Factor06var3(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view jockey = View(run, ex::JockeyCode);
  if (jockey == "00000") return "10";
  const RateFigure& figure = IsJumpTrack(TrackNumber(run)) ? kJockeyJumpRate : kJockeyCourseRate;
  return RateFigureCode(c, run, jockey, figure).value_or("10");
}

std::string Factor06var4(ItemContext& c) {
  return Join(c.ReadCurrent(),
              Cat(Fld(ex::GradeCode), Fld(ex::HorseSymbolCode), Fld(ex::RaceConditionSymbol)));
}

// ---- Slot 7 ----

namespace {

// Position digit of a corner: "01" to "05" themselves, "06" to "08" "6", any other "7".
constexpr TextBandValue<std::string_view> kCornerDigits[] = {
    {"00", "00", "7"}, {"99", "99", "7"}, {"  ", "  ", "7"}, {"01", "01", "1"}, {"02", "02", "2"},
    {"03", "03", "3"}, {"04", "04", "4"}, {"05", "05", "5"}, {"06", "08", "6"}};

std::string_view CornerDigit(std::string_view position) {
  return TextBandOf(kCornerDigits, std::string_view("7"), position);
}

}  // namespace

std::string Factor07var1(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string track(View(c.ReadCurrent(), ex::TrackCode));
  if (r == 1) return "0077";
  const std::string_view before = c.Read(r - 1);
  std::string code(View(before, ex::ArrivalOrder));
  if (TextInRange(track, "00", "29")) {
    code += CornerDigit(View(before, ex::CornerPositions.At(3)));
    code += CornerDigit(View(before, ex::CornerPositions.At(4)));
  } else {
    code += "77";
  }
  c.ReadCurrent();
  return code;
}

std::string Factor07var2(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  if (r == 1) return "00000";
  const std::string_view before = c.Read(r - 1);
  const std::string_view p = View(before, ex::FinishPosition);
  const std::string a(View(before, ex::AbnormalityCode));
  std::string code = p == "00"                    ? "0000" + a
                     : TextInRange(p, "01", "12") ? std::string(p) + "00" + a
                                                  : "1300" + a;
  c.ReadCurrent();
  return code;
}

std::string Factor07var3(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  if (r == 1) return "9000";
  const std::string_view before = c.Read(r - 1);
  const std::string_view arrival = View(before, ex::ArrivalOrder);
  const std::string a = InRange(CInt16(arrival), 0, 8) ? std::string(arrival) : "09";
  const std::string_view odds = View(before, ex::WinOdds);
  std::string code = "9000";
  if (odds != "0000" && odds != "    ") {
    code = std::string(OddsDigit(odds)) + a + "0";
  }
  c.ReadCurrent();
  return code;
}

// ---- Slot 8 ----

namespace {

// The going code of the run's course kind: dirt 23 to 49, turf and jump otherwise.
constexpr TrackBandValue<FieldRef> kGoingFields[] = {{23, 49, ex::DirtGoingCode}};

// Going lines of statistics records: turf from line 8, dirt from 12, jump from 16.
std::optional<RateLine> FlatGoingLine(std::string_view run, FieldRef lines) {
  const std::int16_t t = TrackNumber(run);
  if (InRange(t, 0, 22)) return GoingLine(View(run, ex::TurfGoingCode), lines, 8);
  if (InRange(t, 23, 49)) return GoingLine(View(run, ex::DirtGoingCode), lines, 12);
  return std::nullopt;
}
std::optional<RateLine> SireGoingLine(std::string_view run) {
  return FlatGoingLine(run, parent_stat::LineTop3Rates);
}
std::optional<RateLine> HorseFlatGoingLine(std::string_view run) {
  return FlatGoingLine(run, horse_stat::LineTop3Rates);
}
std::optional<RateLine> HorseJumpGoingLine(std::string_view run) {
  return GoingLine(View(run, ex::TurfGoingCode), horse_stat::LineTop3Rates, 16);
}
constexpr RateFigure kHorseFlatGoingRate{kHorseSubsetStats, HorseFlatGoingLine,
                                         RateScale::kPercent};
constexpr RateFigure kHorseJumpGoingRate{kHorseStats, HorseJumpGoingLine, RateScale::kPercent};

// Distance lines of the horse's record: turf 20 to 22, dirt 23 to 25, by 1600 and 2200 m.
constexpr TrackBandValue<int> kDistanceLineBands[] = {{0, 1600, 0}, {1601, 2200, 1}};
constexpr std::string_view kDistanceDigits[] = {"1", "2", "3"};

std::optional<RateLine> HorseDistanceLine(std::string_view run) {
  const std::int16_t d = CInt16(View(run, ex::Distance));
  const std::int16_t t = TrackNumber(run);
  const int band = BandOf(kDistanceLineBands, 2, d);
  if (InRange(t, 0, 22))
    return RateLine{horse_stat::LineTop3Rates.At(20 + band), kDistanceDigits[band]};
  if (InRange(t, 23, 49))
    return RateLine{horse_stat::LineTop3Rates.At(23 + band), kDistanceDigits[band]};
  return RateLine{horse_stat::LineTop3Rates.At(7), "1"};
}
constexpr RateFigure kHorseDistanceRate{kHorseSubsetStats, HorseDistanceLine, RateScale::kSteps4};

constexpr TrackBandValue<FieldRef> kHorseOverallLines[] = {{0, 49, horse_stat::OverallTop3Rate}};
std::optional<RateLine> HorseOverallLine(std::string_view run) {
  return RateLine{BandOf(kHorseOverallLines, horse_stat::LineTop3Rates.At(7), TrackNumber(run)),
                  "1"};
}
constexpr RateFigure kHorseOverallRate{kHorseSubsetStats, HorseOverallLine, RateScale::kSteps4};

// The code of a horse's figure, with the default for a horse id that counts as missing:
// "11" for a jump run, else "10".
std::string HorseFigureCode(ItemContext& c, std::string_view run, bool missing,
                            const RateFigure& figure) {
  if (missing) return IsJumpTrack(TrackNumber(run)) ? "11" : "10";
  return RateFigureCode(c, run, View(run, ex::HorseId), figure).value_or("10");
}

// The place rates of the earlier runs: the rate of the run's kind, then "1" when the other
// flat kind has a rate (for the jump kind always "0").
std::string PlaceRatesCode(ItemContext& c) {
  const KindPlaceRates rates = EarlierPlaceRates(c);
  const int kind = rates.currentKind;
  if (kind == 2) return rates.rates[2] + "0";
  return rates.rates[kind] + (rates.rates[1 - kind] != "00" ? "1" : "0");
}

}  // namespace

std::string Factor08var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const FieldRef going = BandOf(kGoingFields, ex::TurfGoingCode, TrackNumber(run));
  return std::string(WeatherDigit(run)) + std::string(View(run, going)) + "00";
}

std::string Factor08var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view sire = View(run, ex::AncestorBlocks_BreedingNumber.In(1));
  std::string code = "10";
  if (const auto stat = FirstStat(c, kStallionStats, sire)) {
    if (IsJumpTrack(TrackNumber(run))) {
      code = std::string(WeatherDigit(run)) + std::string(View(run, ex::TurfGoingCode)) + "00";
    } else if (const auto line = SireGoingLine(run)) {
      code = LineCode(*stat, *line, RateScale::kPercent);
    }
  }
  return Remapped(std::move(code), kSireGoingRemaps);
}

std::string Factor08var3(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const bool jump = IsJumpTrack(TrackNumber(run));
  return HorseFigureCode(c, run, View(run, ex::HorseId) == "          ",
                         jump ? kHorseJumpGoingRate : kHorseFlatGoingRate);
}

std::string Factor08var4(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string code =
      HorseFigureCode(c, run, IsMissingCode(View(run, ex::HorseId)), kHorseDistanceRate);
  return Remapped(code, kDistanceRateRemaps);
}

std::string Factor08var5(ItemContext& c) {
  return PlaceRatesCode(c);
}

std::string Factor08var6(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  return HorseFigureCode(c, run, IsMissingCode(View(run, ex::HorseId)), kHorseOverallRate);
}

std::string Factor08var7(ItemContext& c) {
  std::string code = PlaceRatesCode(c);
  code.back() = '0';
  return code;
}

// ---- Slots 9 to 11 ----

std::string Factor09var1(ItemContext& c) {
  c.ReadCurrent();
  return RunNumberCode(c.CurrentRunNumber, 60);
}

std::string Factor10var1(ItemContext& c) {
  return FixedDigits(EvenWeightShare(c.ReadCurrent()), 3);
}

std::string Factor11var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view sex = View(run, ex::SexCode);
  return DecimalText(BodyWeightSteps(run) + (sex == "1" || sex == "3" ? 30 : 0));
}

// ---- Slot 13 ----

namespace variants {

std::optional<MeetingShift> MeetingShiftAt(std::string_view cell, std::size_t i) {
  std::size_t start = 0;
  for (std::size_t k = 0; k < i; ++k) {
    const std::size_t comma = cell.find(", ", start);
    if (comma == std::string_view::npos) return std::nullopt;
    start = comma + 2;
  }
  const std::string_view entry = cell.substr(start, cell.find(", ", start) - start);
  const std::size_t colon = entry.find(":+");
  const std::string_view days = colon == std::string_view::npos ? "" : entry.substr(colon + 2);
  if (colon == std::string_view::npos || days.empty() ||
      days.find_first_not_of("0123456789") != std::string_view::npos) {
    throw std::logic_error("a meeting calendar cell holds no entry \"mm:+k\"");
  }
  return MeetingShift{entry.substr(0, colon), static_cast<int>(Val(days))};
}

std::optional<int> MeetingShiftOf(std::string_view cell, std::string_view meeting) {
  for (std::size_t i = 0;; ++i) {
    const auto entry = MeetingShiftAt(cell, i);
    if (!entry) return std::nullopt;
    if (entry->meeting == meeting || entry->meeting == "any other") return entry->days;
  }
}

}  // namespace variants

namespace {

constexpr Recipe kMeetingHorse =
    Cat(Fld(ex::MeetingDay), Right(ex::MeetingNumber, 1), Fld(ex::HorseNumber));

constexpr TextBandValue<Recipe> kMeetingMonth[] = {
    {"00", "49", Cat(Fld(ex::MeetingDay), Left(ex::RaceMonthDay, 2), Lit("0"))}};

// The meeting day counted through the meetings of the calendar: none for a year outside it;
// 0 for a racecourse or meeting number it does not list.
std::optional<double> CalendarDayOf(std::string_view run) {
  const std::string_view year = View(run, ex::RaceYear);
  for (std::size_t y = 0; y < std::size(kCalendarYears); ++y) {
    if (year != kCalendarYears[y]) continue;
    const std::string_view rc = View(run, ex::RacecourseCode);
    for (int course = 1; course <= 10; ++course) {
      if (rc != FixedDigits(course, 2)) continue;
      const auto shift =
          MeetingShiftOf(kMeetingCalendar[y][course - 1], View(run, ex::MeetingNumber));
      return shift ? Val(View(run, ex::MeetingDay)) + *shift : 0;
    }
    return 0;
  }
  return std::nullopt;
}

// The jockey's runs and prize money on the flat and over jumps.
constexpr PrizeFields kJockeyFlatPrize{person_stat::TotalFlatRuns, person_stat::TotalFlatPrize};
constexpr PrizeFields kJockeyJumpPrize{person_stat::JumpRuns, person_stat::TotalJumpPrize};

}  // namespace

std::string Factor13var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  std::string code = "00";
  const std::string_view jockey = View(run, ex::JockeyCode);
  if (!IsMissingCode(jockey)) {
    if (const auto stat = FirstStat(c, kJockeyStats, jockey)) {
      const PrizeFields& fields =
          IsJumpTrack(TrackNumber(run), 29) ? kJockeyJumpPrize : kJockeyFlatPrize;
      const auto v = PrizePerRun(*stat, fields);
      if (v && *v != 0) code = FixedDigits(FloorTenLog10(*v), 2);
    }
  }
  if (TextInRange(code, "00", "27")) return "27";
  return TextInRange(code, "28", "35") ? code : "35";
}

std::string Factor13var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  return Join(run, TextBandOf(kMeetingMonth, kMeetingHorse, View(run, ex::TrackCode)));
}

std::string Factor13var3(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  if (IsJumpTrack(TrackNumber(run))) return Join(run, kMeetingHorse);
  std::string code;
  if (const auto d = CalendarDayOf(run)) code = FixedDigits(static_cast<std::int64_t>(*d), 2);
  if (Val(code) > 16) code = "17";
  return code + "00" + "01";
}

std::string Factor13var4(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view sire = View(run, ex::AncestorBlocks_BreedingNumber.In(1));
  std::string code = "00";
  if (const auto stat = FirstStat(c, kStallionStats, sire)) {
    const FieldRef count = IsJumpTrack(TrackNumber(run), 29)
                               ? parent_stat::OffspringWithJumpEarnings
                               : parent_stat::OffspringWithFlatEarnings;
    const auto v = PrizePerRun(*stat, {count, parent_stat::OffspringFlatEarningsTotal});
    if (v && *v != 0) code = DecimalText(FloorLog10(*v));
  }
  return code;
}

std::string Factor13var5(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view jockey = View(run, ex::JockeyCode);
  if (jockey == "00000") return "00";
  const auto stat = FirstStat(c, kJockeyStats, jockey);
  if (!stat) return "0";
  const bool jump = !TextInRange(View(run, ex::TrackCode), "00", "29");
  const auto v = PrizePerRun(*stat, jump ? kJockeyJumpPrize : kJockeyFlatPrize);
  return v && *v != 0 ? DecimalText(FloorTenLog10(*v)) : "00";
}

}  // namespace meridax
