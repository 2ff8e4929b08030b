// Variants of items 24 to 30: the dam's age and the horse number, the jockey's age, recent
// rates and class, the youngest age and the first prize, the previous run's time behind
// the winner, odds and paces, the female line's root, the field size, the scores, birth
// months, body weights and pace ratios; and the Pace and Soha weight sums.

#include <algorithm>
#include <charconv>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/factors/factor_items.h"
#include "datasetup/factors/item_toolkit.h"
#include "datasetup/factors/runner_scoring.h"
#include "datasetup/factorvariants/factor_variants.h"
#include "datasetup/factorvariants/variant_engines.h"
#include "datasetup/factorvariants/variant_scans.h"

namespace meridax {

namespace ex = extended_run;
using records::View;
using namespace variants;

// ---- Slot 24 ----

std::string Factor24var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  if (!TextInRange(View(run, ex::TrackCode), "00", "49")) {
    return std::string(View(run, ex::RaceNumber)) + "00";
  }
  const std::string_view dam = View(run, ex::AncestorBlocks_BirthYear.In(2));
  std::string_view band = "15";
  if (dam != "0000" && dam != "    ") {
    const std::int32_t age = CInt16(View(run, ex::BirthYear)) + 100 - CInt16(dam);
    static constexpr TextBandValue<std::string_view> kAges[] = {
        {"03", "06", "05"}, {"07", "08", "07"}, {"09", "10", "09"}, {"11", "12", "11"}};
    band = TextBandOf(kAges, std::string_view("15"), LastChars(DecimalText(age), 2));
  }
  return std::string(band) + "00";
}

std::string Factor24var2(ItemContext& c) {
  return std::string(View(c.ReadCurrent(), ex::HorseNumber));
}

// ---- Slot 25 ----

std::string Factor25var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  return "0" + std::string(JockeyAgeBand(run)) + std::string(View(run, ex::ApprenticeCode));
}

namespace {

// Jockeys whose rides take the class "10".
constexpr std::string_view kClassJockeys[] = {
    "05212", "05339", "05416", "00432", "05302", "05447", "05130", "05472", "00897", "05271",
    "05336", "05395", "05335", "05394", "05471", "05475", "05366", "00891", "00875", "05135",
    "05376", "00974", "05464", "05306", "05377", "00843", "05337", "05115", "05304"};

// Round(top-2 x 100 / rides) with 1 to 5 raised to 2 and more than 25 cut to 25.
std::string RecentTop2Rate(const RideTally& t) {
  std::int64_t rate = ScaledRate(t.top2, t.rides, 100, 100);
  if (InRange(rate, 1, 5)) rate = 2;
  if (rate > 25) rate = 25;
  return FixedDigits(rate, 2);
}

}  // namespace

std::string Factor25var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::int64_t raceDay = RunDateOf(run);
  const std::string raceKey =
      std::string(View(run, ex::RaceYear)) + std::string(View(run, ex::RaceMonthDay));
  const JockeyRides rides(View(run, ex::JockeyCode));
  RideTally tally;
  if (rides.Count() != 1) {
    // The ride of the race day, then back through the 29 days before it.
    std::int64_t s = 0;
    for (std::int64_t n = 1; n <= rides.Count() && s == 0; ++n) {
      const std::string_view ride = rides.Ride(n);
      const std::string key = std::string(View(ride, records::se::RaceYear)) +
                              std::string(View(ride, records::se::RaceMonthDay));
      if (key == raceKey) s = n;
    }
    tally = TallyRides(rides, {s, true, 0, [raceDay](std::string_view ride) {
                                 return raceDay - RideDay(ride) > 29 ? RideVerdict::kStop
                                                                     : RideVerdict::kCount;
                               }});
  }
  // The rides count for this run's kind by "00" to "21" and "23" to "49", but the code
  // reads "22" as dirt, whose count then is 0.
  const std::string_view track = View(run, ex::TrackCode);
  static constexpr TextBandValue<int> kCounted[] = {{"00", "21", 0}, {"23", "49", 1}};
  static constexpr TextBandValue<int> kRead[] = {{"00", "21", 0}, {"22", "49", 1}};
  const std::string rate =
      TextBandOf(kCounted, 2, track) == TextBandOf(kRead, 2, track) ? RecentTop2Rate(tally) : "00";
  const std::string_view jockey = View(run, ex::JockeyCode);
  const bool classed = std::find(std::begin(kClassJockeys), std::end(kClassJockeys), jockey) !=
                       std::end(kClassJockeys);
  return rate + (classed ? "10" : "00");
}

std::string Factor25var3(ItemContext& c) {
  return std::string(View(c.ReadCurrent(), ex::YoungestAgeCondition));
}

std::string Factor25var4(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::int32_t prize = CInt32(View(run, ex::PrizeMoneyByPlace.At(1)));
  std::string code = prize == 0 ? "0" : DecimalText(FloorTenLog10(prize));
  if (!InRange(TrackNumber(run), 0, 49) && !InRange(static_cast<std::int64_t>(Val(code)), 0, 56)) {
    code = "56";
  }
  // One-digit figures sort outside "00" to "53" too.
  return TextInRange(code, "00", "53") ? code : "53";
}

// ---- Slot 26 ----

std::string Factor26var1(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  if (r == 1) return "0099";
  const std::string_view before = c.Read(r - 1);
  std::string code = TimeBehindClass(View(before, ex::TimeBehindWinner), before, false);
  c.ReadCurrent();
  return code;
}

// ---- Slot 27 ----

std::string FindFemaleLineRoot(ItemContext& c) {
  const std::string_view mare = View(c.CurrentRun, ex::AncestorBlocks_BreedingNumber.In(6));
  std::optional<std::string_view> root;
  if (c.femaleLines != nullptr) root = c.femaleLines->Root(mare);
  return root && !root->empty() ? std::string(*root) : "00000000";
}

std::string Factor27var1(ItemContext& c) {
  c.ReadCurrent();
  const std::string code = "11" + FindFemaleLineRoot(c);
  return code == "1100000000" ? "1112010012" : code;
}

std::string Factor27var2(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  if (r == 1) return "0000";
  const std::string_view before = c.Read(r - 1);
  static constexpr TrackBandValue<std::string_view> kArrivals[] = {
      {1, 3, "01"}, {4, 5, "02"}, {6, 11, "03"}, {12, 14, "04"}, {15, 18, "05"}};
  const std::string_view arrival =
      BandOf(kArrivals, std::string_view("00"), CInt16(View(before, ex::ArrivalOrder)));
  const std::string_view odds = View(before, ex::WinOdds);
  std::string code = "9000";
  if (odds != "0000" && odds != "    ")
    code = std::string(OddsDigit(odds)) + std::string(arrival) + "0";
  c.ReadCurrent();
  return code;
}

// ---- Slot 28 ----

std::string Factor28var1(ItemContext& c) {
  const std::string_view entered = View(c.ReadCurrent(), ex::RegisteredCount);
  return TextInRange(entered, "00", "08") ? "08000" : std::string(entered) + "000";
}

// ---- Slot 29 ----

std::string Factor29var1(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  if (r == 1) return "0016";
  // Finer classes than item 26's; ranges compare as text.
  static constexpr TextBandValue<std::string_view> kClasses[] = {
      {"-000", "-000", "001"}, {"-001", "-001", "002"}, {"-002", "-002", "003"},
      {"-003", "-004", "004"}, {"-005", "-009", "005"}, {"-010", "-099", "006"},
      {"+000", "+000", "007"}, {"+001", "+001", "008"}, {"+002", "+002", "009"},
      {"+003", "+003", "010"}, {"+004", "+004", "011"}, {"+005", "+005", "012"},
      {"+006", "+010", "013"}, {"+011", "+020", "014"}, {"+021", "+099", "015"}};
  const std::string_view behind = View(c.Read(r - 1), ex::TimeBehindWinner);
  const std::string code = "0" + std::string(TextBandOf(kClasses, std::string_view("016"), behind));
  c.ReadCurrent();
  return code;
}

std::string Factor29var2(ItemContext& c) {
  return PreviousRunScoreCode(
      c, {&RunnerScoring::SumAgariWeights, &RunnerScoring::AgariScoreTotals, AgariSpeed, true});
}

std::string Factor29var3(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  if (r == 1) return "1000";
  c.Read(r - 1);
  const std::string pace = PaceSpeed(c);
  const std::string agari = AgariSpeed(c);
  const auto unusable = [](std::string_view s) {
    return s == "       " || s.empty() || s == "0000000" || s == "0" || s == "9999999" ||
           Val(s) == 0 || s == "0720720";
  };
  std::string code = "1000";
  if (!unusable(pace) && !unusable(agari)) {
    const double ratio = CDouble(agari) * 100 / CDouble(pace) + 1000;
    code = std::string(LastChars(DecimalText(Checked32(ratio)), 4));
    if (code == "1100" || code == "1400") code = "1000";
  }
  c.ReadCurrent();
  return code;
}

namespace {

// The early-pace code of run r - 1 (a first run has "1000"), banded: "1075" to "1090" as
// "1090", `upperLow` to "1150" as `upperLow`. Leaves run r - 1 in CurrentRun.
std::string BandedEarlyPace(ItemContext& c, std::string_view upperLow) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string e = r == 1 ? "1000" : EarlyPaceCode(c.Read(r - 1));
  if (TextInRange(e, "1075", "1090")) return "1090";
  if (TextInRange(e, upperLow, "1150")) return std::string(upperLow);
  return e;
}

// Course kind digits by the track code's text: "00" to "22" "1", "23" to "29" "2", else
// "3".
std::string_view KindDigit(std::string_view run) {
  static constexpr TextBandValue<std::string_view> kKinds[] = {{"00", "22", "1"},
                                                               {"23", "29", "2"}};
  return TextBandOf(kKinds, std::string_view("3"), View(run, ex::TrackCode));
}

}  // namespace

std::string Factor29var4(ItemContext& c) {
  const std::string track(View(c.ReadCurrent(), ex::TrackCode));
  const std::string e = BandedEarlyPace(c, "1110");
  // The finishing position of the run CurrentRun holds now: run r - 1, or this run when
  // it is the first.
  const std::string_view position = View(c.CurrentRun, ex::FinishPosition);
  const std::string p = TextInRange(position, "01", "10") ? std::string(position) : "00";
  c.ReadCurrent();
  return p + (TextInRange(track, "00", "49") ? std::string(LastChars(e, 2)) : "00");
}

std::string Factor29var5(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  std::string kinds(KindDigit(c.ReadCurrent()));
  if (r > 1) kinds += KindDigit(c.Read(r - 1));
  std::string e = BandedEarlyPace(c, "1115");
  c.ReadCurrent();
  if (c.CurrentRunCount == 1) e = "111000";
  static constexpr std::string_view kPlain[] = {"121000", "131000", "211000", "221000",
                                                "231000", "311000", "321000", "331000",
                                                "31000",  "21000",  "11000"};
  const std::string code = kinds + e;
  return std::find(std::begin(kPlain), std::end(kPlain), code) != std::end(kPlain) ? "111000"
                                                                                   : code;
}

// ---- Slot 30 ----

std::string Factor30var1(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  if (r <= 2) return "1250";
  const std::string_view last = c.Read(r - 1);
  const std::string_view before = c.Read(r - 2);
  const auto k = ChangePerDay(before, last, {ex::BodyWeight, 3, true, false});
  const std::string s = k ? ChangeBandCode(*k, {"46", "47", "47"}) : "50";
  const bool sameCourse = View(before, ex::RacecourseCode) == View(last, ex::RacecourseCode);
  c.ReadCurrent();
  return "1" + std::string(sameCourse ? "1" : "2") + s;
}

std::string Factor30var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view month = View(run, ex::BirthMonth);
  if (!TextInRange(month, "02", "06")) return "0100";
  const std::string_view sex = View(run, ex::SexCode);
  return std::string(month) + (sex == "1" || sex == "3" ? "10" : "20");
}

namespace {

// The codes of a pace ratio that say nothing.
constexpr std::string_view kPlainRatioCodes[] = {"1100", "1200", "1300", "2100", "2200", "2300",
                                                 "3100", "3200", "3300", "3000", "2000", "1000"};
std::string PlainRatioReplaced(std::string code) {
  const bool plain = std::find(std::begin(kPlainRatioCodes), std::end(kPlainRatioCodes), code) !=
                     std::end(kPlainRatioCodes);
  return plain ? "0000" : code;
}

bool NoFirstLap(std::string_view run) {
  const std::string_view lap = View(run, ex::First3FurlongLapTime);
  return lap == "999" || lap == "000" || lap == "   ";
}

// Course kind digits by the track code as a number: 0 to 22 "1", 23 to 49 "2", else "3".
std::string_view KindNumberDigit(std::string_view run) {
  static constexpr TrackBandValue<std::string_view> kKinds[] = {{0, 22, "1"}, {23, 49, "2"}};
  return BandOf(kKinds, std::string_view("3"), TrackNumber(run));
}

}  // namespace

std::string Factor30var3(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  static constexpr TextBandValue<std::string_view> kKinds[] = {{"10", "22", "1"},
                                                               {"23", "49", "2"}};
  const auto kind = [](std::string_view run) {
    return TextBandOf(kKinds, std::string_view("3"), View(run, ex::TrackCode));
  };
  std::string code(kind(c.ReadCurrent()));
  if (r == 1) return PlainRatioReplaced(code + "000");
  const std::string_view before = c.Read(r - 1);
  code += kind(before);
  std::string s = "00";
  if (!NoFirstLap(before)) {
    const double v = RoundHalfEven(CInt16(View(before, ex::Last3FurlongTime)) * 100.0 /
                                   CInt16(View(before, ex::First3FurlongLapTime)));
    s = v <= 89    ? "90"
        : v <= 135 ? std::string(LastChars(DecimalText(static_cast<std::int64_t>(v)), 2))
                   : "36";
  }
  c.ReadCurrent();
  return PlainRatioReplaced(code + s);
}

std::string Factor30var4(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  std::string code(KindNumberDigit(c.ReadCurrent()));
  if (r == 1) return code + "0";
  const std::string_view before = c.Read(r - 1);
  code += KindNumberDigit(before);
  const std::string_view time = View(before, ex::FinishTime);
  const std::int32_t t = CInt16(time.substr(0, 1)) * 600 + CInt16(time.substr(1, 3));
  const std::int32_t q = t - CInt16(View(before, ex::Last3FurlongTime));
  const std::string_view behind = View(before, ex::TimeBehindWinner);
  const std::string_view lap = View(before, ex::First3FurlongLapTime);
  std::int32_t a = 0;
  if (behind.substr(0, 1) == "+") {
    a = t - CInt16(behind.substr(1, 3)) - CInt16(lap);
  } else if (behind.substr(0, 1) == "-") {
    a = t - CInt16(lap);
  }
  std::string s = "00";
  if (!NoFirstLap(before)) {
    const double x = a == 0 ? 100 : Int(static_cast<double>(q) / a * 100);
    s = x < 85    ? "85"
        : x > 110 ? "10"
                  : std::string(LastChars(DecimalText(static_cast<std::int64_t>(x)), 2));
  }
  c.ReadCurrent();
  return PlainRatioReplaced(code + s);
}

// The owner's rate is put aside, and the breeder's eight-character code never equals a
// six-character key, so the code is always "8"; the look-ups are made all the same.
std::string Factor30var5(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  BreederOwnerRate(c, kOwnerStats, View(run, ex::OwnerCode));
  const auto breeder = BreederOwnerRate(c, kBreederStats, View(run, ex::BreederCode));
  const std::int64_t v = breeder.value_or(0);
  if (InRange(v, 0, 8)) return "8";
  return InRange(v, 9, 31) ? DecimalText(v) : "32";
}

// ---- The weight sums ----

namespace {

// The three totals, turf, dirt and jump, each in its shortest exact form.
std::string TotalsText(const ScoreTotals& totals) {
  std::string text;
  for (std::size_t kind = 1; kind <= 3; ++kind) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, totals[kind]).ptr;
    if (!text.empty()) text += ' ';
    text.append(buffer, end);
  }
  return text;
}

RunnerScoring& Scoring(ItemContext& c) {
  if (c.scoring == nullptr) throw ItemAbandoned("no runner scoring in this context");
  return *c.scoring;
}

}  // namespace

std::string SumSohaWeights(ItemContext& c) {
  RunnerScoring& s = Scoring(c);
  s.SumSohaWeights(c.CurrentRun);
  return TotalsText(s.SohaScoreTotals);
}

std::string SumPaceWeights(ItemContext& c) {
  RunnerScoring& s = Scoring(c);
  s.SumPaceWeights(c.CurrentRun);
  return TotalsText(s.PaceScoreTotals);
}

std::string SumPaceWeights2(ItemContext& c) {
  RunnerScoring& s = Scoring(c);
  s.SumPaceWeights2(c.CurrentRun);
  return TotalsText(s.PaceScoreTotals);
}

}  // namespace meridax
