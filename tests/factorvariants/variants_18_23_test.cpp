#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datasetup/factors/item_toolkit.h"
#include "datasetup/factorvariants/factor_variants.h"
#include "platform/drive.h"
#include "records/race_layouts.h"
#include "tests/factorvariants/variant_cases.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::ExFixture;
using testing::ExpectCodes;
using testing::FieldValue;
using testing::MakeRecord;
using testing::RunOf;
constexpr std::string_view kAbandoned = testing::kAbandoned;

constexpr std::string_view kSire = "1120141700";

TEST(Factor18, BreederAndOwnerDigits) {
  ExFixture f;
  const auto rate = [](std::string_view code, std::string_view rate) {
    return MakeRecord(
        35, {{breeder_owner_stat::BreederOwnerCode, code}, {breeder_owner_stat::Top3Rate, rate}});
  };
  f.WriteStats("BANUSISEISEI.dat", {rate("123456", "005000"), rate("234567", "012000")});
  // Breeder keys are the first six characters of a breeder code.
  f.WriteStats("BREEDERSEISEI.dat", {rate("876543", "003000")});
  ExpectCodes(
      Factor18var1, "Factor18var1",
      {{{{ex::BreederCode, "87654321"}}, "87654321"}, {{{ex::BreederCode, "        "}}, "393126"}},
      f);
  const auto run = [](std::string_view owner) {
    return std::vector<FieldValue>{{ex::OwnerCode, owner}, {ex::BreederCode, "87654321"}};
  };
  ExpectCodes(
      Factor18var2, "Factor18var2",
      {{run("123456"), "05"}, {run("234567"), "08"}, {run("      "), "00"}, {run("999999"), "00"}},
      f);
}

TEST(Factor19, TrainerAndItsCountTable) {
  ExFixture f({RunOf({{ex::TrainerCode, "01111"}, {ex::TrackCode, "17"}}),
               RunOf({{ex::TrainerCode, "     "}, {ex::TrackCode, "17"}})});
  EXPECT_EQ(f.Code(Factor19var1, 1), "01111");
  EXPECT_EQ(f.Code(Factor19var2, 1), "000");
  EXPECT_EQ(f.Code(Factor19var2, 2), kAbandoned);
  TrainerCountTable table;
  table.Set(3, 0, 1111);
  table.Set(3, 1, 1);
  table.Set(3, 4, 4);
  ItemContext& c = f.At(1);
  c.trainerCounts = &table;
  EXPECT_EQ(Factor19var2(c), "050");  // 25 x 1 / 5
}

TEST(Factor20var1And3And5, NumbersAndSirePrize) {
  ExFixture f;
  f.WriteStats("OPTION1N\\STALLION.dat",
               {MakeRecord(402, {{parent_stat::ParentBreedingNumber, kSire},
                                 {parent_stat::OffspringFlatPrizeTotal, "000005000"}})});
  const auto run = [](std::string_view e5, std::string_view e6, std::string_view sire) {
    return std::vector<FieldValue>{{ex::AncestorBlocks_BreedingNumber.In(5), e5},
                                   {ex::AncestorBlocks_BreedingNumber.In(6), e6},
                                   {ex::AncestorBlocks_BreedingNumber.In(1), sire},
                                   {ex::HorseNumber, "07"}};
  };
  // The ten-character replacements never meet the twelve-character codes.
  ExpectCodes(
      Factor20var1, "Factor20var1",
      {{run("", "0000000000", ""), "110000000000"}, {run("", "1201333   ", ""), "111201333   "}},
      f);
  ExpectCodes(Factor20var3, "Factor20var3", {{run("0000000000", "", ""), "110000000000"}}, f);
  ExpectCodes(Factor20var5, "Factor20var5",
              {{run("", "", kSire), "36"},
               {run("", "", "0000000000"), "0"},
               {run("", "", "1199999999"), "0"}},
              f);
}

// A ride on 2015-01-01.
std::string Ride(std::string_view arrival, std::string_view category) {
  return testing::JockeyRide("20150101", arrival, category);
}

TEST(Factor20var2And4, JockeyFirstAndLastRides) {
  ExFixture f;
  // 600 rides: the first 501 with 100 firsts, the last 101 of category "7" with 40 seconds.
  std::vector<std::string> rides;
  for (int i = 1; i <= 600; ++i) {
    const bool first = i <= 501 && i % 5 == 0;
    const bool late = i >= 500;
    rides.push_back(Ride(first                              ? "01"
                         : late && i % 5 != 0 && i % 5 <= 2 ? "02"
                                                            : "09",
                         late ? "7" : "A"));
  }
  testing::WriteRecords(DataPath("KISHUGOTOSETUP\\01234.dat"), rides);
  const auto run = [](std::string_view track) {
    return RunOf({{ex::JockeyCode, "01234"}, {ex::TrackCode, track}});
  };
  f.SetRuns({run("17"), run("54")});
  // 100 of 501 top-2 (ride 500 a first, 501 a second): Int(10 x 101 / 501) = 2.
  EXPECT_EQ(f.Code(Factor20var2, 1), "02");
  // Rides 600 down to 500: 40 seconds and ride 500's first of 101; Int(50 x 41 / 101) = 20.
  EXPECT_EQ(f.Code(Factor20var4, 1), "15");
  EXPECT_EQ(f.Code(Factor20var4, 2), "10");
  f.SetRuns({run("17")});
  EXPECT_EQ(f.Code(Factor20var2, 1), "00");
  EXPECT_EQ(f.Code(Factor20var4, 1), "00");
}

TEST(Factor20var2And4, FewRides) {
  ExFixture f;
  std::vector<std::string> rides;
  for (int i = 1; i <= 10; ++i) rides.push_back(Ride(i <= 3 ? "02" : "05", "7"));
  for (int i = 1; i <= 100; ++i) rides.push_back(Ride(i <= 40 ? "01" : "04", "7"));
  testing::WriteRecords(DataPath("KISHUGOTOSETUP\\01234.dat"),
                        std::vector<std::string>(rides.begin(), rides.begin() + 10));
  testing::WriteRecords(DataPath("KISHUGOTOSETUP\\05555.dat"),
                        std::vector<std::string>(rides.begin() + 10, rides.end()));
  f.SetRuns({RunOf({{ex::JockeyCode, "01234"}, {ex::TrackCode, "17"}}),
             RunOf({{ex::JockeyCode, "05555"}, {ex::TrackCode, "17"}}),
             RunOf({{ex::JockeyCode, "05555"}, {ex::TrackCode, "54"}}),
             RunOf({{ex::JockeyCode, "09999"}, {ex::TrackCode, "17"}})});
  EXPECT_EQ(f.Code(Factor20var2, 1), "03");
  EXPECT_EQ(f.Code(Factor20var4, 2), "15");  // 20, at most 15 on the flat
  EXPECT_EQ(f.Code(Factor20var4, 3), "10");
  EXPECT_EQ(f.Code(Factor20var2, 4), "00");  // no race file: created empty
}

TEST(Factor22, BirthMonthsCountriesAndSales) {
  ExFixture f;
  const auto run = [](std::string_view track, std::string_view month, std::string_view sex,
                      std::string_view place, std::string_view price = "0000000000") {
    return std::vector<FieldValue>{{ex::TrackCode, track}, {ex::BirthMonth, month},
                                   {ex::SexCode, sex},     {ex::BirthplaceName, place},
                                   {ex::SaleAge, "1"},     {ex::SalePrice, price}};
  };
  const std::string usa = "\x95\xC4\x81\x40";  // 米 and a full-width blank
  ExpectCodes(Factor22ori2, "Factor22ori2",
              {{run("17", "03", "1", ""), "031"},
               {run("17", "01", "1", ""), "010"},
               {run("17", "06", "2", ""), "062"},
               {run("54", "03", "1", usa), "56"},
               {run("54", "03", "1", "\x95\xC4"), "00"}},
              f);
  ExpectCodes(Factor22var1, "Factor22var1",
              {{run("17", "03", "1", usa, "0050000000"), "17031"},  // "1" & 7
               {run("17", "03", "1", usa, "0000500000"), "15031"},
               {run("54", "03", "1", usa), "5600"},
               {run("54", "03", "1", ""), "0000"}},
              f);
}

TEST(Factor22var2, TimeBehindTwoRunsBack) {
  ExFixture f;
  const auto runs = [&f](std::string_view behind, std::string_view arrival) {
    f.SetRuns({RunOf({{ex::TimeBehindWinner, behind},
                      {ex::ArrivalOrder, arrival},
                      {ex::MarginCode, "A12"}}),
               RunOf({{ex::TimeBehindWinner, "+001"}}), RunOf({})});
  };
  struct Case {
    std::string_view behind, arrival, code;
  };
  const Case cases[] = {{"-004", "01", "0004"}, {"+012", "05", "0019"}, {"+000", "02", "+A12"},
                        {"+000", "03", "0007"}, {"+050", "05", "0057"}, {"9999", "05", "0099"}};
  for (const Case& c : cases) {
    runs(c.behind, c.arrival);
    EXPECT_EQ(f.Code(Factor22var2, 3), c.code) << c.behind;
  }
  EXPECT_EQ(f.Code(Factor22var2, 1), "0099");
  EXPECT_EQ(f.Code(Factor22var2, 2), "0099");
}

TEST(Factor23, SireLimitsAndNumbers) {
  ExFixture f;
  const auto run = [](std::string_view track, std::string_view distance,
                      std::string_view sire = kSire) {
    return std::vector<FieldValue>{{ex::TrackCode, track},
                                   {ex::Distance, distance},
                                   {ex::AncestorBlocks_BreedingNumber.In(1), sire},
                                   {ex::HorseNumber, "07"}};
  };
  const std::string plain = "1" + std::string(kSire);
  // Every sire takes the limit 1600: no ten-character number is in an eight-digit list.
  for (const ItemRoutine routine : {Factor23Original, Factor23var3}) {
    ExpectCodes(routine, "Factor23Original",
                {{run("24", "1400"), "2" + plain},
                 {run("24", "1700"), "1" + plain},
                 {run("17", "1600"), "2" + plain},
                 {run("17", "0800"), "1" + plain},
                 {run("54", "1400"), "1" + plain},
                 {run("24", "1400", "0000000000"), "210000000000"}},
                f);
  }
  ExpectCodes(Factor23var4, "Factor23var4", {{run("54", "1400"), "2"}, {run("54", "2400"), "1"}},
              f);
  ExpectCodes(Factor23var5, "Factor23var5", {{run("17", "1600"), "2"}, {run("17", "1601"), "1"}},
              f);
  ExpectCodes(Factor23var2, "Factor23var2",
              {{run("17", "1600"), "11" + std::string(kSire)},
               {run("17", "1600", "00000000  "), "1100000000  "}},
              f);
}

std::vector<FieldValue> TrendRun(std::string_view track, std::string_view turf,
                                 std::string_view behind) {
  return {{ex::TrackCode, track},
          {ex::TurfGoingCode, turf},
          {ex::DirtGoingCode, "1"},
          {ex::TimeBehindWinner, behind}};
}

TEST(Factor23var1, TimeTrendUnderTodaysGoing) {
  ExFixture f;
  // Turf runs: 1.0 s behind on going 3, 0.2 s on going 1; dirt and jump runs do not count.
  f.SetRuns({RunOf(TrendRun("17", "3", "+010")), RunOf(TrendRun("17", "1", "+002")),
             RunOf(TrendRun("24", "3", "+050")), RunOf(TrendRun("54", "3", "9999")),
             RunOf(TrendRun("18", "3", "0000"))});
  // a = 12 / 2 = 6, b = 10 / 1 = 10: d = 4.
  EXPECT_EQ(f.Code(Factor23var1, 5), "050000");
  EXPECT_EQ(f.Code(Factor23var1, 1), "010000");  // no earlier run
  f.SetRuns({RunOf(TrendRun("17", "1", "+010")), RunOf(TrendRun("17", "1", "0000"))});
  EXPECT_EQ(f.Code(Factor23var1, 2), "010000");  // good going
  f.SetRuns({RunOf(TrendRun("17", "3", "-003")), RunOf(TrendRun("17", "2", "+005")),
             RunOf(TrendRun("17", "3", "0000"))});
  // a = 2 / 2 = 1, b = -3: d = -4.
  EXPECT_EQ(f.Code(Factor23var1, 3), "001000");
  f.SetRuns({RunOf(TrendRun("17", "3", "    ")), RunOf(TrendRun("17", "3", "0000"))});
  EXPECT_EQ(f.Code(Factor23var1, 2), kAbandoned);
}

TEST(Factor23var6, SireRateUnderTodaysGoing) {
  ExFixture f;
  std::string sire = MakeRecord(402, {{parent_stat::ParentBreedingNumber, kSire}});
  for (int k = 1; k <= 25; ++k) {
    records::Put(sire, parent_stat::LineTop3Rates.At(k), FixedDigits((k + 30) * 1000, 6));
  }
  records::Put(sire, parent_stat::LineTop3Rates.At(9), "012000");
  f.WriteStats("OPTION1N\\STALLION.dat", {sire});
  const auto run = [](std::string_view track, std::string_view turf, std::string_view dirt,
                      std::string_view number = kSire) {
    return std::vector<FieldValue>{{ex::TrackCode, track},
                                   {ex::TurfGoingCode, turf},
                                   {ex::DirtGoingCode, dirt},
                                   {ex::AncestorBlocks_BreedingNumber.In(1), number}};
  };
  ExpectCodes(Factor23var6, "Factor23var6",
              {{run("17", "0", "4"), "138"},  // line 8
               {run("17", "4", "0"), "441"},  // line 11
               {run("24", "1", "3"), "344"},  // line 14
               {run("54", "2", "1"), "247"},  // line 17
               {run("17", "2", "1"), "28"},   // line 9: "212", a class of its own
               {run("17", "5", "1"), "10"},
               {run("17", "1", "1", "0000000000"), "10"},
               {run("17", "1", "1", "1199999999"), "10"}},
              f);
}

}  // namespace
}  // namespace meridax
