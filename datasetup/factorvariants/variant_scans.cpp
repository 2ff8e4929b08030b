#include "datasetup/factorvariants/variant_scans.h"

#include <algorithm>
#include <cmath>

#include "datasetup/common/data_files.h"
#include "datasetup/common/extended_run_record.h"
#include "platform/io_error.h"
#include "platform/numbers.h"
#include "records/race_layouts.h"

namespace meridax::variants {

namespace ex = extended_run;
namespace se = records::se;
using records::View;

JockeyRides::JockeyRides(std::string_view jockeyCode) {
  const auto path = EntityFilePath(kJockeyRaceFolder, jockeyCode);
  if (!path) throw ItemAbandoned("a jockey code that names no file");
  try {
    map_ = std::make_unique<RecordMap>(
        *path, static_cast<std::size_t>(records::kRunnerLayout.storedLength));
  } catch (const IoError& e) {
    throw ItemAbandoned(e.what());
  }
}

RideTally TallyRides(const JockeyRides& rides, const RideScan& scan) {
  RideTally tally;
  const std::int64_t step = scan.backward ? -1 : 1;
  for (std::int64_t n = scan.from; n >= 1 && n <= rides.Count(); n += step) {
    const std::string_view ride = rides.Ride(n);
    const RideVerdict verdict = scan.judge(ride);
    if (verdict == RideVerdict::kStop) break;
    if (verdict == RideVerdict::kSkip) continue;
    ++tally.rides;
    const std::string_view arrival = View(ride, se::ArrivalOrder);
    if (arrival == "01" || arrival == "02") ++tally.top2;
    if (scan.limit > 0 && tally.rides > scan.limit) break;
  }
  return tally;
}

std::int64_t RideDay(std::string_view ride) {
  return RunDay(View(ride, se::RaceYear), View(ride, se::RaceMonthDay));
}

std::int64_t ScaledRate(std::int64_t placed, std::int64_t runs, int scale, int cap) {
  if (runs == 0) return 0;
  const double rate =
      RoundHalfEven(static_cast<double>(placed) * scale / static_cast<double>(runs));
  return std::min<std::int64_t>(static_cast<std::int64_t>(rate), cap);
}

std::array<std::string, kMaxPlaceBins> EarlierPlaces(ItemContext& c,
                                                     const EarlierPlacesRule& rule) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string_view current = c.ReadCurrent();
  const std::string zero = FixedDigits(0, rule.digits);
  std::array<std::string, kMaxPlaceBins> out;
  out.fill(zero);
  const auto placed = [&rule](std::string_view run) {
    return TextInRange(View(run, ex::ArrivalOrder), "01", rule.lastPlaced);
  };
  if (r > 1) {
    std::array<std::int64_t, kMaxPlaceBins> runs{}, top{};
    for (std::int32_t k = 1; k <= r - 1; ++k) {
      const std::string_view earlier = c.Read(k);
      const auto bin = static_cast<std::size_t>(rule.bin(earlier));
      ++runs.at(bin);
      if (placed(earlier)) ++top[bin];
    }
    for (std::size_t bin = 0; bin < kMaxPlaceBins; ++bin) {
      out[bin] = FixedDigits(ScaledRate(top[bin], runs[bin], rule.scale, rule.cap), rule.digits);
    }
  } else if (r == 1 && placed(current)) {
    out.at(static_cast<std::size_t>(rule.bin(current))) = FixedDigits(rule.cap, rule.digits);
  }
  c.ReadCurrent();
  if (c.CurrentRunCount == 1) out.fill(zero);
  return out;
}

std::string_view DigitClass(std::string_view digit) {
  static constexpr TextBandValue<std::string_view> kClasses[] = {{"0", "1", "1"}, {"2", "3", "2"}};
  return digit.size() == 1 ? TextBandOf(kClasses, std::string_view("3"), digit) : "3";
}

std::optional<std::string> FlatDigitsCode(std::string_view track, std::string_view turf,
                                          std::string_view dirt) {
  if (TextInRange(track, "00", "21")) {
    return "0" + std::string(turf) + std::string(DigitClass(dirt));
  }
  if (TextInRange(track, "22", "49")) {
    return "0" + std::string(dirt) + std::string(DigitClass(turf));
  }
  return std::nullopt;
}

std::optional<std::int64_t> ChangePerDay(std::string_view older, std::string_view newer,
                                         const DailyChange& change) {
  const auto weight = [&change](std::string_view run) {
    const std::string_view w = View(run, change.weight);
    return change.sixteenBit ? static_cast<double>(CInt16(w)) : Val(w);
  };
  const double before = weight(older);
  const double after = weight(newer);
  const std::int64_t days = FourDigitDays(RunDateOf(older), RunDateOf(newer));
  if (!(before > 0 && after > 0)) return std::nullopt;
  if (days == 0) {
    if (change.sameDayFails) throw ItemAbandoned("division by zero");
    return std::nullopt;
  }
  return static_cast<std::int64_t>(
      Int(change.factor * (before - after) / static_cast<double>(days)));
}

std::string ChangeBandCode(std::int64_t k, const ChangeBand& band) {
  const std::string s = DecimalText(k + 50);
  if (TextInRange(s, "00", band.lowTop)) return std::string(band.lowCode);
  if (TextInRange(s, band.keepFrom, "51")) return s;
  return "52";
}

namespace {
// Distances whose leader time counts half of the second furlong: the odd half furlongs.
constexpr std::string_view kHalfFurlongDistances[] = {"1300", "1500", "1700", "1900", "2100",
                                                      "2300", "2500", "2700", "2900", "3500"};
}  // namespace

std::string EarlyPaceCode(std::string_view run) {
  const double l1 = CInt16(View(run, ex::FurlongLeaderTimes.At(1)));
  const double l2 = CInt16(View(run, ex::FurlongLeaderTimes.At(2)));
  const std::string_view distance = View(run, ex::Distance);
  double f = l1;
  if (distance == "1150") {
    f = RoundHalfEven(l1 + 0.25 * l2);
  } else if (std::find(std::begin(kHalfFurlongDistances), std::end(kHalfFurlongDistances),
                       distance) != std::end(kHalfFurlongDistances)) {
    f = RoundHalfEven(l1 + 0.5 * l2);
  }
  std::string e = "1100";
  if (f != 0) {
    std::int16_t z = 0;
    for (int k = 1; k <= 24; ++k) {
      if (View(run, ex::FurlongLeaderTimes.At(k + 1)) == "000") {
        z = CInt16(View(run, ex::FurlongLeaderTimes.At(k)));
        break;
      }
    }
    if (z != 0) {
      const std::int16_t hundredfold = Checked16(z * 100.0);
      e = std::string(LastChars(DecimalText(Checked32(hundredfold / f + 1000)), 4));
    }
  }
  return e == "1100" ? "1000" : e;
}

int SireDistanceLimit(std::string_view sire, std::span<const SireList> lists, int otherwise) {
  for (const SireList& list : lists) {
    if (std::find(list.sires.begin(), list.sires.end(), sire) != list.sires.end()) {
      return list.limit;
    }
  }
  return otherwise;
}

std::string_view OddsDigit(std::string_view odds) {
  static constexpr TrackBandValue<std::string_view> kDigits[] = {
      {0, 1, "1"},   {2, 3, "2"},   {4, 6, "3"},  {7, 10, "4"},
      {11, 20, "5"}, {21, 30, "6"}, {31, 50, "7"}};
  const float e = SingleDivide(1000, static_cast<float>(Val(odds)));
  return BandOf(kDigits, std::string_view("8"), Checked32(Int(e)));
}

namespace {

// Count columns of a count table by course kind: the placed counts and the others.
struct CountColumns {
  std::array<int, 6> top;
  std::array<int, 6> rest;
  std::size_t width;
};
constexpr TrackBandValue<CountColumns> kCountBands[] = {
    {0, 22, {{1, 2, 3, 13, 14, 15}, {4, 5, 6, 16, 17, 18}, 6}},
    {23, 49, {{7, 8, 9, 19, 20, 21}, {10, 11, 12, 22, 23, 24}, 6}},
};
constexpr CountColumns kJumpCounts{{37, 38, 39}, {40, 41, 42}, 3};

// The rows the table searches for a number.
constexpr int kCountRowsSearched = 1500;

}  // namespace

std::string CountTableCode(const JockeyCountTable& table, std::int32_t number,
                           std::string_view run) {
  const int row = table.FirstRow(number, kCountRowsSearched);
  const CountColumns columns = BandOf(kCountBands, kJumpCounts, TrackNumber(run));
  std::int64_t top = 0, rest = 0;
  for (std::size_t i = 0; i < columns.width; ++i) {
    top += table.At(row, columns.top[i]);
    rest += table.At(row, columns.rest[i]);
  }
  return FixedDigits(PlaceRate(top, top + rest), 2) + "0";
}

std::optional<std::int64_t> BreederOwnerRate(ItemContext& c, const StatFile& file,
                                             std::string_view code) {
  const auto stat = FirstStat(c, file, code);
  if (!stat) return std::nullopt;
  return RatePercent(View(*stat, breeder_owner_stat::Top3Rate));
}

std::string RateDigit(std::optional<std::int64_t> rate) {
  if (!rate) return "0";
  return *rate < 0 || *rate > 8 ? "8" : DecimalText(*rate);
}

std::string PrizeLogDigits(std::string_view stat, const PrizeFields& fields) {
  const auto v = PrizePerRun(stat, fields);
  return v && *v != 0 ? FixedDigits(FloorTenLog10(*v), 2) : "00";
}

}  // namespace meridax::variants
