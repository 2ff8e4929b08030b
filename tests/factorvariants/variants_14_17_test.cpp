#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datasetup/factors/factor_items.h"
#include "datasetup/factors/runner_scoring.h"
#include "datasetup/factorvariants/factor_variants.h"
#include "platform/drive.h"
#include "records/race_layouts.h"
#include "tests/factorvariants/variant_cases.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::ExFixture;
using testing::ExpectCodes;
using testing::ExRun;
using testing::FieldValue;
using testing::MakeRecord;
using testing::RunOf;
constexpr std::string_view kAbandoned = testing::kAbandoned;

std::vector<FieldValue> Dated(std::string_view date, std::vector<FieldValue> more = {}) {
  more.push_back({ex::RaceYear, date.substr(0, 4)});
  more.push_back({ex::RaceMonthDay, date.substr(4, 4)});
  return more;
}

TEST(Factor14var1, RestsOfTheRecordsBeforeWithoutAbnormalSkip) {
  ExFixture f;
  // Runs 1 week apart, run 3 abnormal (not skipped), then 30 weeks.
  f.SetRuns({RunOf(Dated("20150101")), RunOf(Dated("20150108")),
             RunOf(Dated("20150115", {{ex::AbnormalityCode, "1"}})), RunOf(Dated("20150813"))});
  EXPECT_EQ(f.Code(Factor14var1, 1), "1020");
  EXPECT_EQ(f.Code(Factor14var1, 2), "1010");
  EXPECT_EQ(f.Code(Factor14var1, 3), "1010");
  EXPECT_EQ(f.Code(Factor14var1, 4), "1270");  // 30 weeks: 27
  f.SetRuns({RunOf(Dated("20140101")), RunOf(Dated("20140806")), RunOf(Dated("20140813"))});
  EXPECT_EQ(f.Code(Factor14var1, 3), "1280");  // 1 week after a rest of 31 weeks
}

TEST(Factor15var1, DamAndHorseBirthYears) {
  ExFixture f;
  const auto years = [](std::string_view track, std::string_view dam, std::string_view horse) {
    return std::vector<FieldValue>{
        {ex::TrackCode, track}, {ex::AncestorBlocks_BirthYear.In(2), dam}, {ex::BirthYear, horse}};
  };
  ExpectCodes(Factor15var1, "Factor15var1",
              {{years("17", "    ", "2005"), "998001"},
               {years("17", "1980", "1997"), "983998"},
               {years("24", "1990", "2004"), "990001"},
               {years("24", "1999", "2012"), "998012"},
               {years("54", "    ", "2005"), "199600"},
               {years("54", "1970", "2005"), "197500"},
               {years("54", "1985", "2005"), "198500"},
               {years("  ", "1985", "2005"), kAbandoned}},
              f);
}

TEST(Factor15var2And16, ChangesPerDay) {
  ExFixture f;
  const auto run = [](std::string_view date, std::string_view carried, std::string_view body,
                      std::string_view course) {
    return RunOf(Dated(
        date,
        {{ex::WeightCarried, carried}, {ex::BodyWeight, body}, {ex::RacecourseCode, course}}));
  };
  // 2 kg lighter 14 days later; 10 kg lighter: 3 x 10 / 14.
  f.SetRuns({run("20150101", "560", "480", "05"), run("20150115", "540", "470", "06")});
  EXPECT_EQ(f.Code(Factor15var2, 1), "100050");
  EXPECT_EQ(f.Code(Factor15var2, 2), "100051");
  EXPECT_EQ(f.Code(Factor16var1, 1), "1250");
  EXPECT_EQ(f.Code(Factor16var1, 2), "1252");
  EXPECT_EQ(f.Code(Factor16var2, 2), "1152");
  // Heavier, same racecourse; a weight of 0 gives "50".
  f.SetRuns({run("20150101", "000", "470", "05"), run("20150115", "540", "480", "05")});
  EXPECT_EQ(f.Code(Factor15var2, 2), "100050");
  EXPECT_EQ(f.Code(Factor16var1, 2), "1147");  // Int(-30 / 14) + 50 = 47
  EXPECT_EQ(f.Code(Factor16var2, 2), "1147");
  // Runs on one day divide by zero.
  f.SetRuns({run("20150101", "560", "480", "05"), run("20150101", "540", "470", "05")});
  EXPECT_EQ(f.Code(Factor15var2, 2), kAbandoned);
  EXPECT_EQ(f.Code(Factor16var1, 2), kAbandoned);
}

TEST(Factor15var3, PreviousPopularityOrMonth) {
  ExFixture f({RunOf({{ex::WinPopularity, "03"}, {ex::TrackCode, "17"}}),
               RunOf({{ex::TrackCode, "24"}, {ex::RaceMonthDay, "0612"}}),
               RunOf({{ex::TrackCode, "25"}, {ex::RaceMonthDay, "0612"}})});
  EXPECT_EQ(f.Code(Factor15var3, 1), "00");
  EXPECT_EQ(f.Code(Factor15var3, 2), "03");
  EXPECT_EQ(f.Code(Factor15var3, 3), "06");
}

TEST(Factor15var4, JockeyRatesOfTheYearFromTheRaceDay) {
  ExFixture f;
  // Before the race day, on it, within 364 days and after.
  testing::WriteRecords(
      DataPath("KISHUGOTOSETUP\\01234.dat"),
      {testing::JockeyRide("20141231", "01"), testing::JockeyRide("20150101", "01"),
       testing::JockeyRide("20150601", "02"), testing::JockeyRide("20151231", "05"),
       testing::JockeyRide("20160101", "01")});
  const auto run = [](std::string_view track) {
    return RunOf(Dated("20150101", {{ex::JockeyCode, "01234"}, {ex::TrackCode, track}}));
  };
  f.SetRuns({run("17"), run("24"), run("54"), run("22")});
  // 2 placed of 3: Round(6.67) = 7, at most 5.
  EXPECT_EQ(f.Code(Factor15var4, 1), "051");
  EXPECT_EQ(f.Code(Factor15var4, 2), "051");
  EXPECT_EQ(f.Code(Factor15var4, 3), "500");
  EXPECT_EQ(f.Code(Factor15var4, 4), "001");  // counted as jump, read as dirt
  f.SetRuns({run("17")});
  EXPECT_EQ(f.Code(Factor15var4, 1), "001");  // a horse of one run
}

TEST(Factor15var5And16var3And16var4, OwnerSymbolWeather) {
  ExFixture f;
  f.WriteStats("BANUSISEISEI.dat",
               {MakeRecord(35, {{breeder_owner_stat::BreederOwnerCode, "123456"},
                                {breeder_owner_stat::Top3Rate, "005000"}})});
  ExpectCodes(Factor15var5, "Factor15var5",
              {{{{ex::OwnerCode, "123456"}}, "5"}, {{{ex::OwnerCode, "654321"}}, "0"}}, f);
  ExpectCodes(Factor16var3, "Factor16var3", {{{{ex::HorseSymbolCode, "21"}}, "21"}}, f);
  const std::vector<FieldValue> going{
      {ex::WeatherCode, "2"}, {ex::TurfGoingCode, "3"}, {ex::DirtGoingCode, "4"}};
  auto dirt = going, turf = going;
  dirt.push_back({ex::TrackCode, "29"});
  turf.push_back({ex::TrackCode, "54"});
  ExpectCodes(Factor16var4, "Factor16var4", {{dirt, "24"}, {turf, "23"}}, f);
}

// A run whose pace figure is 60 km/h (1000 m in 60 s after the last 600 m in 36 s).
std::vector<FieldValue> PaceRun(std::string_view track) {
  return {{ex::TrackCode, track},
          {ex::Distance, "1600"},
          {ex::FinishTime, "1360"},
          {ex::Last3FurlongTime, "360"},
          {ex::AbnormalityCode, "0"}};
}

TEST(Factor17var1, PaceScoreOfThePreviousValidRun) {
  CategoryTables tables;
  auto& turf = tables[1];
  turf.totals[1] = 1;
  turf.codes[1] = {"", "x        "};  // the item's full width
  turf.pace[1] = {0.0f, 52.7f};
  turf.agari[1] = {0.0f, 99.0f};
  RunnerScoring scoring(&tables);
  ExFixture f({RunOf(PaceRun("17")), RunOf(PaceRun("17"))});
  const auto code = [&](std::int32_t r, std::string_view item1) {
    ItemContext& c = f.At(r);
    c.scoring = &scoring;
    records::Put(*c.CurrentItemRecord, factor_item::Item(1), item1);
    return Factor17var1(c);
  };
  EXPECT_EQ(code(1, "x"), "10");
  // 60 - 52 + 10 = 18 leaves 0 to 15.
  EXPECT_EQ(code(2, "x"), "10");
  turf.pace[1][1] = 57.5f;
  RunnerScoring again(&tables);
  ItemContext& c = f.At(2);
  c.scoring = &again;
  records::Put(*c.CurrentItemRecord, factor_item::Item(1), "x");
  EXPECT_EQ(Factor17var1(c), "13");  // 60 - 57 + 10
}

TEST(Factor17var2, SireTop2Figure) {
  ExFixture f;
  f.WriteStats("OPTION1N\\STALLION.dat",
               {MakeRecord(402, {{parent_stat::ParentBreedingNumber, "1100000001"},
                                 {parent_stat::OverallTop2Rate, "005000"},
                                 {parent_stat::LineTop2Rates.At(7), "100000"}})});
  const auto sire = [](std::string_view track) {
    return std::vector<FieldValue>{{ex::AncestorBlocks_BreedingNumber.In(1), "1100000001"},
                                   {ex::TrackCode, track}};
  };
  ExpectCodes(Factor17var2, "Factor17var2",
              {{sire("17"), "15"}, {sire("22"), "19"}, {sire("54"), "19"}}, f);
}

std::string PlaceRun(std::string_view track, std::string_view arrival,
                     std::string_view distance = "1600") {
  return RunOf({{ex::TrackCode, track}, {ex::ArrivalOrder, arrival}, {ex::Distance, distance}});
}

TEST(Factor17var3To6, PlaceRatesOfEarlierRuns) {
  ExFixture f;
  // Turf: 1 of 2 first or second, 2 of 2 in the first three; dirt: 1 of 1 third.
  f.SetRuns({PlaceRun("17", "02", "1200"), PlaceRun("17", "03", "2000"), PlaceRun("24", "03"),
             PlaceRun("17", "05")});
  EXPECT_EQ(f.Code(Factor17var3, 4), "051");  // Tu 5, Di 0 of class 1
  EXPECT_EQ(f.Code(Factor17var4, 4), "99");   // capped at 9
  EXPECT_EQ(f.Code(Factor17var5, 4), "99");   // 1600 or less: 1 of 1; above: 1 of 1
  EXPECT_EQ(f.Code(Factor17var6, 4), "201");
  // A first run's own place.
  f.SetRuns({PlaceRun("54", "02", "3000"), PlaceRun("17", "01")});
  EXPECT_EQ(f.Code(Factor17var3, 1), "   0");  // the race condition symbol & "0"
  EXPECT_EQ(f.Code(Factor17var4, 1), "009");
  EXPECT_EQ(f.Code(Factor17var5, 1), "9");
  EXPECT_EQ(f.Code(Factor17var6, 1), "200");
  EXPECT_EQ(f.Code(Factor17var5, 2), "00");  // the jump run counts in no flat band
  f.SetRuns({PlaceRun("17", "01")});
  EXPECT_EQ(f.Code(Factor17var4, 1), "00");  // a horse of one run
}

TEST(Factor17var7To11, HorseAndSireFigures) {
  ExFixture f;
  std::string horse = MakeRecord(
      228, {{horse_stat::HorseId, "2016100001"}, {horse_stat::OverallTop3Rate, "117000"}});
  for (int k = 1; k <= 7; ++k)
    records::Put(horse, horse_stat::LineTop3Rates.At(k), FixedDigits(k * 1000, 6));
  std::string sire = MakeRecord(402, {{parent_stat::ParentBreedingNumber, "1100000001"},
                                      {parent_stat::OverallTop3Rate, "008000"}});
  for (int k = 1; k <= 25; ++k)
    records::Put(sire, parent_stat::LineTop3Rates.At(k), FixedDigits(k % 10 * 1000, 6));
  f.WriteStats("OPTION1N\\KYOSOBAA.dat", {horse});
  f.WriteStats("OPTION1N\\STALLION.dat", {sire});
  const auto run = [](std::string_view id, std::string_view track,
                      std::string_view distance = "1600", std::string_view age = "   ") {
    return std::vector<FieldValue>{{ex::HorseId, id},
                                   {ex::AncestorBlocks_BreedingNumber.In(1), "1100000001"},
                                   {ex::TrackCode, track},
                                   {ex::Distance, distance},
                                   {ex::YoungestAgeCondition, age}};
  };
  ExpectCodes(Factor17var7, "Factor17var7",
              {{run("2016100001", "10"), "11"},
               {run("2016100001", "18"), "12"},
               {run("2016100001", "12"), "13"},
               {run("2016100001", "22"), "17"},
               {run("2016999999", "18"), "10"}},
              f);
  ExpectCodes(Factor17var8, "Factor17var8",
              {{run("2016100001", "24"), "15"}, {run("2016999999", "24"), "25"}}, f);
  ExpectCodes(Factor17var9, "Factor17var9",
              {{run("2016100001", "17"), "116"},
               {run("2016100001", "17", "1600", "701"), "10"},
               {run("2016100001", "54"), "10"}},  // jumps look in KYOSOBA.dat
              f);
  ExpectCodes(Factor17var10, "Factor17var10",
              {{run("2016100001", "17", "1600"), "10"},
               {run("2016100001", "17", "1800"), "21"},
               {run("2016100001", "17", "2400"), "22"},
               {run("2016100001", "24", "1000"), "13"},
               {run("2016100001", "23", "2100"), "24"},
               {run("2016100001", "25"), "10"},
               {run("2016100001", "54"), "10"}},
              f);
  ExpectCodes(Factor17var11, "Factor17var11",
              {{run("2016100001", "17"), "18"}, {run("2016100001", "17", "1600", "701"), "10"}}, f);
}

TEST(Factor17var12, TrainerPrizePerRun) {
  ExFixture f;
  f.WriteStats("CHOKYOSEISEI.dat", {MakeRecord(121, {{person_stat::PersonCode, "01111"},
                                                     {person_stat::TotalFlatPrize, "000100000"},
                                                     {person_stat::TotalFlatRuns, "000100"},
                                                     {person_stat::TotalJumpPrize, "000000000"},
                                                     {person_stat::JumpRuns, "000010"}})});
  const auto trainer = [](std::string_view code, std::string_view track) {
    return std::vector<FieldValue>{{ex::TrainerCode, code}, {ex::TrackCode, track}};
  };
  ExpectCodes(Factor17var12, "Factor17var12",
              {{trainer("01111", "17"), "30"},  // 1000 per run
               {trainer("01111", "54"), "26"},  // no jump prize
               {trainer("02222", "17"), "26"},
               {trainer("00000", "17"), "26"}},
              f);
}

}  // namespace
}  // namespace meridax
