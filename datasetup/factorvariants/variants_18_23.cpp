// Variants of items 18 to 23: breeders and owners, trainers, the female line's and the
// sire's numbers, the jockey's top-two shares, the sire's offspring prize money, birth
// months, countries and sale prices, the time behind the winner two runs back, and the
// sires' distance limits, time trends and going rates.

#include <algorithm>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/factors/item_toolkit.h"
#include "datasetup/factorvariants/factor_variants.h"
#include "datasetup/factorvariants/variant_engines.h"
#include "datasetup/factorvariants/variant_scans.h"
#include "datasetup/factorvariants/variant_tables.h"
#include "records/race_layouts.h"

namespace meridax {

namespace ex = extended_run;
using records::View;
using namespace variants;

namespace {

std::string_view Sire(std::string_view run) {
  return View(run, ex::AncestorBlocks_BreedingNumber.In(1));
}

bool IsZeros(std::string_view code) {
  return code.find_first_not_of('0') == std::string_view::npos;
}

// The codes of ten characters that stand for no number: the "11" & eight zeros of a
// number missing becomes "11000000" & HorseNumber. The codes joined here have twelve
// characters, so the replacement never applies; it stays as the window has it.
std::string MissingNumberReplaced(std::string code, std::string_view run) {
  if (code == "1100000000") return "11000000" + std::string(View(run, ex::HorseNumber));
  return code;
}

}  // namespace

// ---- Slot 18 ----

std::string Factor18var1(ItemContext& c) {
  const std::string_view breeder = View(c.ReadCurrent(), ex::BreederCode);
  return IsBlank(breeder) ? "393126" : std::string(breeder);
}

// The breeder's eight-character code is looked up whole among six-character keys, so no
// breeder is found and its digit is "0".
std::string Factor18var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const auto digit = [&c](const StatFile& file, std::string_view code) {
    return IsBlank(code) ? std::string("0") : RateDigit(BreederOwnerRate(c, file, code));
  };
  const std::string owner = digit(kOwnerStats, View(run, ex::OwnerCode));
  return digit(kBreederStats, View(run, ex::BreederCode)) + owner;
}

// ---- Slot 19 ----

std::string Factor19var1(ItemContext& c) {
  return std::string(View(c.ReadCurrent(), ex::TrainerCode));
}

// With the table as the window fills it (never), every run gives "000".
std::string Factor19var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  static const TrainerCountTable kOpened;
  const TrainerCountTable& table = c.trainerCounts != nullptr ? *c.trainerCounts : kOpened;
  return CountTableCode(table, CInt32(View(run, ex::TrainerCode)), run);
}

// ---- Slot 20 ----

namespace {

// Codes of a female-line number and the ones that replace them; written with ten
// characters, they never equal the twelve-character codes joined here.
constexpr CodeRemap kFemaleLine6Remaps[] = {{"1111201333", "1111401909"},
                                            {"1111201588", "1111402531"},
                                            {"2111201333", "2111401909"},
                                            {"2111201588", "2111402531"}};
constexpr CodeRemap kFemaleLine5Remaps[] = {
    {"1100000000", "1111201232"}, {"1111201333", "1111401909"}, {"1111201588", "1111402531"}};
}  // namespace

std::string Factor20var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string code = "11" + std::string(View(run, ex::AncestorBlocks_BreedingNumber.In(6)));
  return Remapped(MissingNumberReplaced(code, run), kFemaleLine6Remaps);
}

std::string Factor20var3(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string code = "11" + std::string(View(run, ex::AncestorBlocks_BreedingNumber.In(5)));
  return Remapped(code, kFemaleLine5Remaps);
}

std::string Factor20var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const JockeyRides rides(View(run, ex::JockeyCode));
  // The jockey's first rides: 501 at most, the ride past 500 still counted.
  const RideTally t =
      TallyRides(rides, {1, false, 500, [](std::string_view) { return RideVerdict::kCount; }});
  if (c.CurrentRunCount == 1) return "00";
  const std::int64_t d = t.rides == 0 ? 0 : static_cast<std::int64_t>(Int(10.0 * t.top2 / t.rides));
  return FixedDigits(d, 2);
}

std::string Factor20var4(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const JockeyRides rides(View(run, ex::JockeyCode));
  // The jockey's last rides of data category "7": 101 at most.
  const RideTally t = TallyRides(rides, {rides.Count(), true, 100, [](std::string_view ride) {
                                           return View(ride, records::se::DataCategory) == "7"
                                                      ? RideVerdict::kCount
                                                      : RideVerdict::kSkip;
                                         }});
  if (c.CurrentRunCount == 1) return "00";
  std::int64_t d = t.rides == 0 ? 0 : static_cast<std::int64_t>(Int(50.0 * t.top2 / t.rides));
  d = std::min<std::int64_t>(d, TextInRange(View(run, ex::TrackCode), "00", "29") ? 15 : 10);
  return FixedDigits(d, 2);
}

std::string Factor20var5(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view sire = Sire(run);
  if (IsZeros(sire)) return "0";
  const auto stat = FirstStat(c, kStallionStats, sire);
  if (!stat) return "0";
  const double prize = Val(View(*stat, parent_stat::OffspringFlatPrizeTotal));
  return prize != 0 ? DecimalText(FloorTenLog10(prize)) : "0";
}

// ---- Slot 22 ----

namespace {

// M & "1" for a colt or gelding ("1", "3"), M & "2" otherwise, for birth months "02" to
// "06"; "010" for any other month.
std::string BirthMonthCode(std::string_view run) {
  const std::string_view month = View(run, ex::BirthMonth);
  if (!TextInRange(month, "02", "06")) return "010";
  const std::string_view sex = View(run, ex::SexCode);
  return std::string(month) + (sex == "1" || sex == "3" ? "1" : "2");
}

// The first two characters of the birthplace: a country's name and a full-width blank.
struct Country {
  std::string_view name;  // code page 932
  std::string_view code;
};
constexpr Country kCountries[] = {
    {"\x88\xA4\x81\x40", "51"},  // 愛
    {"\x95\xA7\x81\x40", "52"},  // 仏
    {"\x89\xC1\x81\x40", "53"},  // 加
    {"\x90\x56\x81\x40", "54"},  // 新
    {"\x89\x70\x81\x40", "55"},  // 英
    {"\x95\xC4\x81\x40", "56"},  // 米
    {"\x8D\x8B\x81\x40", "57"},  // 豪
    {"\x93\xC6\x81\x40", "58"},  // 独
};

std::string CountryCode(std::string_view run) {
  const std::string_view place = View(run, ex::BirthplaceName);
  for (const Country& country : kCountries) {
    if (place.substr(0, country.name.size()) == country.name) return std::string(country.code);
  }
  return "00";
}

}  // namespace

std::string Factor22ori2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  return InRange(TrackNumber(run), 0, 49) ? BirthMonthCode(run) : CountryCode(run);
}

std::string Factor22var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const double price = Val(View(run, ex::SalePrice));
  std::string first;
  if (price != 0) {
    first = std::string(View(run, ex::SaleAge)) + DecimalText(FloorLog10(price));
    static constexpr CodeRemap kSaleRemaps[] = {{"18", "17"}, {"25", "26"}};
    first = Remapped(std::move(first), kSaleRemaps);
  } else {
    first = CountryCode(run);
  }
  return first + (InRange(TrackNumber(run), 0, 49) ? BirthMonthCode(run) : "00");
}

std::string Factor22var2(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  if (r <= 2) return "0099";
  const std::string_view back = c.Read(r - 2);
  std::string code = TimeBehindClass(View(back, ex::TimeBehindWinner), back, true);
  c.ReadCurrent();
  return code;
}

// ---- Slot 23 ----

namespace {

// The sires' distance limits. Of the lists the window holds only the short ones are known
// here; the others are kept empty and hold no sire. Their eight-digit numbers are compared
// whole with the ten-character breeding numbers, so no sire is found in any list and every
// sire takes the limit 1600.
constexpr std::string_view kTurf2500[] = {"11201417", "11201498", "11201859", "11201796"};
constexpr std::string_view kDirt2300[] = {"11201667", "11201743", "11201880"};

constexpr SireList kTurfLimits[] = {
    {1100, {}}, {1200, {}}, {2000, {}}, {2400, {}}, {2500, kTurf2500}};
constexpr SireList kDirtLimits[] = {{1100, {}}, {1200, {}},        {1800, {}}, {2000, {}},
                                    {2200, {}}, {2300, kDirt2300}, {2000, {}}};
// The later lists: other contents, the same short lists.
constexpr SireList kLaterTurfLimits[] = {
    {1100, {}}, {1200, {}}, {2000, {}}, {2400, {}}, {2500, kTurf2500}};
constexpr SireList kLaterDirtLimits[] = {{1100, {}}, {1200, {}},        {1800, {}}, {2000, {}},
                                         {2200, {}}, {2300, kDirt2300}, {2000, {}}};

constexpr int kDefaultLimit = 1600;

// "2" when the distance, as text, lies from "1000" to the sire's limit; else "1".
std::string LimitDigit(std::string_view run, std::span<const SireList> lists) {
  const int limit = SireDistanceLimit(Sire(run), lists, kDefaultLimit);
  return TextInRange(View(run, ex::Distance), "1000", DecimalText(limit)) ? "2" : "1";
}

constexpr CodeRemap kSireLimitRemaps[] = {{"1100000000", "1111201232"},
                                          {"2100000000", "1111201232"}};

std::string SireLimitCode(ItemContext& c, std::span<const SireList> turf,
                          std::span<const SireList> dirt) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view track = View(run, ex::TrackCode);
  std::string digit = "1";
  if (TextInRange(track, "10", "22")) {
    digit = LimitDigit(run, turf);
  } else if (TextInRange(track, "23", "29")) {
    digit = LimitDigit(run, dirt);
  }
  return Remapped(digit + "1" + std::string(Sire(run)), kSireLimitRemaps);
}

}  // namespace

std::string Factor23Original(ItemContext& c) {
  return SireLimitCode(c, kTurfLimits, kDirtLimits);
}

std::string Factor23var3(ItemContext& c) {
  return SireLimitCode(c, kLaterTurfLimits, kLaterDirtLimits);
}

std::string Factor23var4(ItemContext& c) {
  return LimitDigit(c.ReadCurrent(), kTurfLimits);
}

std::string Factor23var5(ItemContext& c) {
  return LimitDigit(c.ReadCurrent(), kDirtLimits);
}

std::string Factor23var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  return MissingNumberReplaced("11" + std::string(Sire(run)), run);
}

namespace {

// Course classes by the track code's text: "00" to "22" 1, "23" and "24" 2, any other 3;
// the going of the class's surface.
struct CourseGoing {
  int course;
  std::string_view going;
};
CourseGoing CourseGoingOf(std::string_view run) {
  static constexpr TextBandValue<int> kClasses[] = {{"00", "22", 1}, {"23", "24", 2}};
  const int course = TextBandOf(kClasses, 3, View(run, ex::TrackCode));
  return {course, View(run, course == 2 ? ex::DirtGoingCode : ex::TurfGoingCode)};
}

// The time behind the winner in tenths: "+" behind, a leading "9" none, else ahead.
std::int16_t BehindTenths(std::string_view run) {
  const std::string_view t = View(run, ex::TimeBehindWinner);
  if (t.substr(0, 1) == "9") return 0;
  const std::int16_t v = CInt16(LastChars(t, 3));
  return t.substr(0, 1) == "+" ? v : static_cast<std::int16_t>(-v);
}

struct TrendBand {
  float low;
  float high;
  bool highOpen;  // the band ends below `high`
  std::string_view code;
};
constexpr TrendBand kTrendBands[] = {
    {2.00001f, 5.0f, false, "050000"},  {0.00001f, 2.00001f, true, "020000"},
    {0.0f, 0.0f, false, "010000"},      {-2.0f, -0.00001f, false, "005000"},
    {-5.0f, -2.0001f, false, "001000"},
};

}  // namespace

std::string Factor23var1(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string today(View(c.ReadCurrent(), ex::TrackCode));
  const CourseGoing now = CourseGoingOf(c.CurrentRun);
  const std::string going(now.going);
  std::int64_t sumA = 0, countA = 0, sumB = 0, countB = 0;
  for (std::int32_t k = 1; k <= r - 1; ++k) {
    const std::string_view earlier = c.Read(k);
    const std::int16_t v = BehindTenths(earlier);
    const CourseGoing then = CourseGoingOf(earlier);
    if (then.course != now.course) continue;
    sumA += v;
    ++countA;
    if (then.going == going) {
      sumB += v;
      ++countB;
    }
  }
  c.ReadCurrent();
  const float a = countA == 0 ? 0.0f : static_cast<float>(sumA) / static_cast<float>(countA);
  const float b = countB == 0 ? 0.0f : static_cast<float>(sumB) / static_cast<float>(countB);
  const float d = a == 0 || b == 0 || going == "1" ? 0.0f : b - a;
  if (d > 5.0f) return "100000";
  for (const TrendBand& band : kTrendBands) {
    if (d >= band.low && (band.highOpen ? d < band.high : d <= band.high)) {
      return std::string(band.code);
    }
  }
  return "000000";
}

namespace {

// The sire's going lines: turf from line 8, dirt from 12, jump from 16 with the turf going.
std::optional<RateLine> SireGoingLine(std::string_view run) {
  const std::int16_t t = TrackNumber(run);
  if (InRange(t, 0, 22))
    return GoingLine(View(run, ex::TurfGoingCode), parent_stat::LineTop3Rates, 8);
  if (InRange(t, 23, 49)) {
    return GoingLine(View(run, ex::DirtGoingCode), parent_stat::LineTop3Rates, 12);
  }
  return GoingLine(View(run, ex::TurfGoingCode), parent_stat::LineTop3Rates, 16);
}
constexpr RateFigure kSireGoingRate{kStallionStats, SireGoingLine, RateScale::kPercent};

}  // namespace

std::string Factor23var6(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view sire = Sire(run);
  if (IsZeros(sire)) return "10";
  return Remapped(RateFigureCode(c, run, sire, kSireGoingRate).value_or("10"), kSireGoingRemaps);
}

}  // namespace meridax
