#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datasetup/factorvariants/variant_scans.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "records/race_layouts.h"
#include "tests/factorvariants/variant_cases.h"

namespace meridax {
namespace {

namespace ex = extended_run;
namespace se = records::se;
using testing::ExFixture;
using testing::ExRun;
using testing::MakeRecord;
using namespace variants;

void WriteRides(std::string_view jockey, const std::vector<std::string>& rides) {
  testing::WriteRecords(DataPath("KISHUGOTOSETUP\\" + std::string(jockey) + ".dat"), rides);
}

RideVerdict CountAll(std::string_view) {
  return RideVerdict::kCount;
}

TEST(TallyRides, DirectionFilterAndStops) {
  testing::TempDrive drive;
  // 600 rides: every third a winner, every second of data category "7".
  std::vector<std::string> rides;
  for (int i = 1; i <= 600; ++i) {
    rides.push_back(
        testing::JockeyRide("20150101", i % 3 == 0 ? "01" : "05", i % 2 == 0 ? "7" : "A"));
  }
  WriteRides("01234", rides);
  const JockeyRides file("01234");
  ASSERT_EQ(file.Count(), 600);
  const auto category7 = [](std::string_view ride) {
    return records::View(ride, se::DataCategory) == "7" ? RideVerdict::kCount : RideVerdict::kSkip;
  };
  struct Case {
    RideScan scan;
    std::int64_t rides, top2;
  };
  const Case cases[] = {
      {{1, false, 500, CountAll}, 501, 167},   // the ride past the limit still counts
      {{1, false, 0, CountAll}, 600, 200},     // no limit
      {{600, true, 100, category7}, 101, 34},  // rides 600 down to 400, the even ones
      {{600, true, 0, category7}, 300, 100},   // every even ride
      {{0, true, 0, CountAll}, 0, 0},          // from none: nothing
      {{3, true, 0, CountAll}, 3, 1},          // rides 3, 2, 1
      {{598, false, 0, CountAll}, 3, 1},       // rides 598 to 600
      {{10, true, 0, [](std::string_view) { return RideVerdict::kStop; }}, 0, 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const RideTally t = TallyRides(file, cases[i].scan);
    EXPECT_EQ(t.rides, cases[i].rides) << "case " << i;
    EXPECT_EQ(t.top2, cases[i].top2) << "case " << i;
  }
}

TEST(JockeyRides, AMissingFileIsCreatedEmptyAndAnUnsafeCodeAbandons) {
  testing::TempDrive drive;
  {
    const JockeyRides none("05555");
    EXPECT_EQ(none.Count(), 0);
  }
  EXPECT_TRUE(FileExists(DataPath("KISHUGOTOSETUP\\05555.dat")));
  EXPECT_THROW(JockeyRides("0\\..\\"), ItemAbandoned);
  std::filesystem::remove_all(drive.data() / "KISHUGOTOSETUP");
  EXPECT_THROW(JockeyRides("05555"), ItemAbandoned);
}

TEST(ScaledRate, HalvesToEvenAndCapped) {
  struct Case {
    std::int64_t placed, runs;
    int scale, cap;
    std::int64_t rate;
  };
  const Case cases[] = {
      {0, 0, 10, 5, 0},     {1, 4, 10, 5, 2},     {3, 4, 10, 5, 5},  {1, 20, 10, 9, 0},
      {3, 20, 10, 9, 2},    {5, 20, 10, 9, 2},    {1, 8, 25, 20, 3}, {9, 10, 25, 20, 20},
      {1, 40, 100, 100, 2}, {7, 8, 100, 100, 88},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaledRate(c.placed, c.runs, c.scale, c.cap), c.rate)
        << c.placed << "/" << c.runs << " x" << c.scale;
  }
}

TEST(ChangeBandCode, LowKeptAndHighBands) {
  const ChangeBand weightCarried{"45", "46", "46"};
  const ChangeBand bodyWeight{"46", "47", "46"};
  const ChangeBand bodyWeightStrict{"46", "47", "47"};
  struct Case {
    std::int64_t k;
    std::string_view carried, body, strict;
  };
  const Case cases[] = {
      {-50, "52", "52", "52"},  // "0" sorts below "00"
      {-10, "46", "47", "47"},  // "40"
      {-5, "46", "47", "47"},   // "45"
      {-4, "46", "47", "47"},   // "46"
      {-3, "47", "47", "47"},  {1, "51", "51", "51"},
      {2, "52", "52", "52"},   {410, "460", "460", "52"},  // "460" lies above "46" and below "47"
      {-60, "52", "52", "52"},                             // "-10" sorts below "00"
      {950, "46", "47", "47"},                             // "1000" sorts below "45"
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChangeBandCode(c.k, weightCarried), c.carried) << c.k;
    EXPECT_EQ(ChangeBandCode(c.k, bodyWeight), c.body) << c.k;
    EXPECT_EQ(ChangeBandCode(c.k, bodyWeightStrict), c.strict) << c.k;
  }
}

TEST(ChangePerDay, WeightsDaysAndTheSameDay) {
  const auto run = [](std::string_view date, std::string_view weight) {
    return ExRun({{ex::RaceYear, date.substr(0, 4)},
                  {ex::RaceMonthDay, date.substr(4, 4)},
                  {ex::BodyWeight, weight}});
  };
  const DailyChange fails{ex::BodyWeight, 3, false, true};
  const DailyChange none{ex::BodyWeight, 3, true, false};
  EXPECT_EQ(ChangePerDay(run("20150101", "480"), run("20150115", "470"), fails), 2);  // 30/14
  EXPECT_EQ(ChangePerDay(run("20150101", "470"), run("20150115", "480"), fails), -3);
  EXPECT_EQ(ChangePerDay(run("20150101", "000"), run("20150115", "480"), fails), std::nullopt);
  EXPECT_EQ(ChangePerDay(run("20150101", "   "), run("20150115", "480"), fails), std::nullopt);
  EXPECT_THROW(ChangePerDay(run("20150101", "   "), run("20150115", "480"), none), ItemAbandoned);
  EXPECT_THROW(ChangePerDay(run("20150101", "480"), run("20150101", "470"), fails), ItemAbandoned);
  EXPECT_EQ(ChangePerDay(run("20150101", "480"), run("20150101", "470"), none), std::nullopt);
  EXPECT_THROW(ChangePerDay(run("2015    ", "480"), run("20150101", "470"), none), ItemAbandoned);
  // A later run dated before the older one wraps through the four digits.
  EXPECT_EQ(ChangePerDay(run("20150115", "480"), run("20150101", "470"), fails), 0);
}

TEST(EarlyPaceCode, LeaderTimesAndLastFurlong) {
  const auto run = [](std::string_view distance, std::vector<std::string_view> times) {
    std::string r = ExRun({{ex::Distance, distance}});
    for (std::size_t k = 0; k < 25; ++k) {
      records::Put(r, ex::FurlongLeaderTimes.At(static_cast<int>(k) + 1),
                   k < times.size() ? times[k] : "000");
    }
    return r;
  };
  struct Case {
    std::string r;
    std::string_view code;
  };
  const Case cases[] = {
      {run("1200", {"120", "110", "115"}), "1096"},                     // 115 x 100 / 120
      {run("1150", {"120", "110", "130"}), "1088"},                     // F = Round(147.5) = 148
      {run("1300", {"120", "111", "130"}), "1074"},                     // F = Round(175.5) = 176
      {run("1200", {"100", "110", "100"}), "1000"},                     // 1100 is plain
      {run("1200", {"000", "110", "115"}), "1000"},                     // F = 0
      {run("1200", std::vector<std::string_view>(25, "120")), "1000"},  // no last furlong
      {run("1200", {"120", "110", "327"}), "1272"},                     // 1272.5, halves to even
      {run("1200", {"120", "110", "328"}), std::string_view("abandoned")},  // 32800 > 16 bits
      {run("1200", {"   ", "110", "115"}), std::string_view("abandoned")},
  };
  for (const Case& c : cases) {
    std::string code;
    try {
      code = EarlyPaceCode(c.r);
    } catch (const ItemAbandoned&) {
      code = "abandoned";
    }
    EXPECT_EQ(code, c.code) << records::View(c.r, ex::FurlongLeaderTimes.At(3));
  }
}

TEST(SireDistanceLimit, FirstListHoldingTheWholeNumber) {
  constexpr std::string_view a[] = {"11201417", "11201498"};
  constexpr std::string_view b[] = {"11201498", "1120149800"};
  const SireList lists[] = {{1100, {}}, {1200, a}, {2000, b}};
  EXPECT_EQ(SireDistanceLimit("11201498", lists, 1600), 1200);  // the earlier list wins
  EXPECT_EQ(SireDistanceLimit("1120149800", lists, 1600), 2000);
  EXPECT_EQ(SireDistanceLimit("11201417  ", lists, 1600), 1600);  // compared whole
  EXPECT_EQ(SireDistanceLimit("", lists, 1600), 1600);
}

TEST(DigitsAndCodes, DigitClassFlatCodeAndOddsDigit) {
  const std::pair<std::string_view, std::string_view> classes[] = {
      {"0", "1"}, {"1", "1"}, {"2", "2"}, {"3", "2"},
      {"4", "3"}, {"9", "3"}, {" ", "3"}, {"", "3"}};
  for (const auto& [digit, cls] : classes) EXPECT_EQ(DigitClass(digit), cls) << digit;
  EXPECT_EQ(FlatDigitsCode("17", "4", "2"), "042");
  EXPECT_EQ(FlatDigitsCode("22", "4", "2"), "023");
  EXPECT_EQ(FlatDigitsCode("49", "0", "5"), "051");
  EXPECT_EQ(FlatDigitsCode("51", "4", "2"), std::nullopt);
  const std::pair<std::string_view, std::string_view> odds[] = {
      {"9999", "1"}, {"0500", "2"}, {"0334", "2"}, {"0333", "2"}, {"0250", "3"}, {"0100", "4"},
      {"0050", "5"}, {"0035", "6"}, {"0020", "7"}, {"0019", "8"}, {"0001", "8"}};
  for (const auto& [text, digit] : odds) EXPECT_EQ(OddsDigit(text), digit) << text;
  EXPECT_THROW(OddsDigit("  00"), ItemAbandoned);
}

TEST(BreederOwnerRate, WholeKeyAndItsDigit) {
  ExFixture f;
  f.WriteStats("BANUSISEISEI.dat",
               {MakeRecord(35, {{breeder_owner_stat::BreederOwnerCode, "123456"},
                                {breeder_owner_stat::Top3Rate, "005000"}}),
                MakeRecord(35, {{breeder_owner_stat::BreederOwnerCode, "234567"},
                                {breeder_owner_stat::Top3Rate, "012000"}})});
  ItemContext& c = f.At(1);
  EXPECT_EQ(BreederOwnerRate(c, kOwnerStats, "123456"), 5);
  EXPECT_EQ(RateDigit(BreederOwnerRate(c, kOwnerStats, "123456")), "5");
  EXPECT_EQ(RateDigit(BreederOwnerRate(c, kOwnerStats, "234567")), "8");
  EXPECT_EQ(RateDigit(BreederOwnerRate(c, kOwnerStats, "12345678")), "0");  // wider than the key
  EXPECT_EQ(RateDigit(-1), "8");
}

}  // namespace
}  // namespace meridax
