#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "datasetup/factors/category_steps.h"
#include "datasetup/factors/factor_items.h"
#include "datasetup/factors/runner_scoring.h"
#include "datasetup/factorvariants/factor_variants.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/step_host.h"
#include "records/race_layouts.h"
#include "tests/factorvariants/variant_cases.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::ExFixture;
using testing::ExpectCodes;
using testing::ExpectPreviousCodes;
using testing::FieldValue;
using testing::MakeRecord;
using testing::RunOf;
constexpr std::string_view kAbandoned = testing::kAbandoned;

TEST(Slot24And25, DamAgeHorseNumberJockeyAndPrize) {
  ExFixture f;
  const auto dam = [](std::string_view track, std::string_view year) {
    return std::vector<FieldValue>{{ex::TrackCode, track},
                                   {ex::RaceNumber, "11"},
                                   {ex::BirthYear, "2012"},
                                   {ex::AncestorBlocks_BirthYear.In(2), year}};
  };
  ExpectCodes(Factor24var1, "Factor24var1",
              {{dam("17", "    "), "1500"},
               {dam("54", "    "), "1100"},
               {dam("17", "2007"), "0500"},
               {dam("24", "2004"), "0700"},
               {dam("17", "2000"), "1100"},
               {dam("17", "1990"), "1500"}},
              f);
  ExpectCodes(Factor24var2, "Factor24var2", {{{{ex::HorseNumber, "07"}}, "07"}}, f);
  const auto jockey = [](std::string_view birth) {
    return std::vector<FieldValue>{{ex::RaceYear, "2015"},
                                   {ex::JockeyBirthYear, birth},
                                   {ex::ApprenticeCode, "1"},
                                   {ex::TrackCode, "54"}};
  };
  ExpectCodes(Factor25var1, "Factor25var1",
              {{jockey("1990"), "0231"}, {jockey("1970"), "0431"}, {jockey("0000"), "0201"}}, f);
  ExpectCodes(Factor25var3, "Factor25var3", {{{{ex::YoungestAgeCondition, "701"}}, "701"}}, f);
  const auto prize = [](std::string_view track, std::string_view first) {
    return std::vector<FieldValue>{{ex::TrackCode, track}, {ex::PrizeMoneyByPlace.At(1), first}};
  };
  ExpectCodes(Factor25var4, "Factor25var4",
              {{prize("17", "00000000"), "53"},
               {prize("17", "00005000"), "36"},
               {prize("17", "00000005"), "53"},
               {prize("54", "10000000"), "53"},
               {prize("17", "        "), kAbandoned}},
              f);
}

TEST(Factor25var2, RecentTop2RateAndClass) {
  ExFixture f;
  // Rides in date order: 40 days before, 29 and 10 days before, the race day, and later.
  testing::WriteRecords(
      DataPath("KISHUGOTOSETUP\\05212.dat"),
      {testing::JockeyRide("20150120", "01"), testing::JockeyRide("20150201", "01"),
       testing::JockeyRide("20150220", "05"), testing::JockeyRide("20150302", "05"),
       testing::JockeyRide("20150303", "01")});
  testing::WriteRecords(DataPath("KISHUGOTOSETUP\\01111.dat"),
                        {testing::JockeyRide("20150302", "01")});
  const auto run = [](std::string_view jockey, std::string_view track) {
    return RunOf({{ex::RaceYear, "2015"},
                  {ex::RaceMonthDay, "0302"},
                  {ex::JockeyCode, jockey},
                  {ex::TrackCode, track}});
  };
  f.SetRuns({run("05212", "17"), run("05212", "22"), run("01111", "17"), run("02222", "54")});
  EXPECT_EQ(f.Code(Factor25var2, 1), "2510");  // 1 of 3: 33, at most 25; a classed jockey
  EXPECT_EQ(f.Code(Factor25var2, 2), "0010");  // counted as jump, read as dirt
  EXPECT_EQ(f.Code(Factor25var2, 3), "0000");  // a file of one ride counts nothing
  EXPECT_EQ(f.Code(Factor25var2, 4), "0000");
}

TEST(Slot26To28, TimeBehindFemaleLineOddsAndField) {
  ExFixture f;
  const auto behind = [](std::string_view d, std::string_view arrival, std::string_view abnormal) {
    return std::vector<FieldValue>{{ex::TimeBehindWinner, d},
                                   {ex::ArrivalOrder, arrival},
                                   {ex::AbnormalityCode, abnormal},
                                   {ex::MarginCode, "A12"},
                                   {ex::WinOdds, "0035"}};
  };
  // Run r - 1 always, abnormal or not; no margin form.
  ExpectPreviousCodes(Factor26var1, "Factor26var1",
                      {{behind("+000", "02", "0"), "0007"},
                       {behind("+017", "05", "1"), "0024"},
                       {behind("-012", "01", "0"), "0006"}},
                      f);
  ExpectPreviousCodes(Factor27var2, "Factor27var2",
                      {{behind("", "01", "0"), "6010"},
                       {behind("", "16", "0"), "6050"},
                       {behind("", "00", "0"), "6000"}},
                      f);
  f.SetRuns({RunOf({{ex::WinOdds, "0000"}, {ex::ArrivalOrder, "01"}}), RunOf({})});
  EXPECT_EQ(f.Code(Factor27var2, 2), "9000");
  EXPECT_EQ(f.Code(Factor27var2, 1), "0000");
  EXPECT_EQ(f.Code(Factor26var1, 1), "0099");
  EXPECT_EQ(f.Code(Factor27var1, 1), "1112010012");  // no female lines loaded
  ExpectCodes(Factor28var1, "Factor28var1",
              {{{{ex::RegisteredCount, "12"}}, "12000"}, {{{ex::RegisteredCount, "08"}}, "08000"}},
              f);
}

TEST(Slot29, TimeBehindSpeedRatioAndEarlyPace) {
  ExFixture f;
  ExpectPreviousCodes(Factor29var1, "Factor29var1",
                      {{{{ex::TimeBehindWinner, "+015"}}, "0014"},
                       {{{ex::TimeBehindWinner, "-007"}}, "0005"},
                       {{{ex::TimeBehindWinner, "+006"}}, "0013"},
                       {{{ex::TimeBehindWinner, "+100"}}, "0016"}},
                      f);
  const auto timed = [](std::string_view track, std::vector<std::string_view> leader,
                        std::string_view position) {
    std::vector<FieldValue> v{{ex::TrackCode, track},
                              {ex::Distance, "1600"},
                              {ex::FinishTime, "1360"},
                              {ex::Last3FurlongTime, "360"},
                              {ex::FinishPosition, position}};
    for (std::size_t k = 0; k < 25; ++k) {
      v.push_back({ex::FurlongLeaderTimes.At(static_cast<int>(k) + 1),
                   k < leader.size() ? leader[k] : "000"});
    }
    return v;
  };
  // Agari 21600 / 360 = 60 km/h, pace 60 km/h: 100 per cent is plain.
  ExpectPreviousCodes(Factor29var3, "Factor29var3", {{timed("17", {"120"}, "01"), "1000"}}, f);
  // Agari 21600 / 400 = 54 km/h, pace 1000 m in 56 s: 84 per cent.
  auto slow = timed("17", {"120"}, "01");
  slow.push_back({ex::Last3FurlongTime, "400"});
  ExpectPreviousCodes(Factor29var3, "Factor29var3", {{slow, "1084"}}, f);
  f.SetRuns({RunOf(timed("17", {"120"}, "01")), RunOf({{ex::TrackCode, "17"}})});
  EXPECT_EQ(f.Code(Factor29var3, 1), "1000");
  // E of run r - 1: 115 x 100 / 120 = 95.8, "1096"; 131 / 120 "1109".
  f.SetRuns({RunOf(timed("24", {"120", "110", "115"}, "03")), RunOf(timed("17", {}, "12"))});
  EXPECT_EQ(f.Code(Factor29var4, 2), "0396");
  EXPECT_EQ(f.Code(Factor29var4, 1), "0300");  // a first run: "1000" and its own position
  EXPECT_EQ(f.Code(Factor29var5, 2), "121096");
  EXPECT_EQ(f.Code(Factor29var5, 1), "111000");  // "21000" is plain
  f.SetRuns({RunOf(timed("54", {"120", "110", "131"}, "03")), RunOf(timed("54", {}, "01"))});
  EXPECT_EQ(f.Code(Factor29var4, 2), "0300");
  EXPECT_EQ(f.Code(Factor29var5, 2), "331109");  // "1109" lies below both bands
  f.SetRuns({RunOf(timed("17", {}, "01"))});
  EXPECT_EQ(f.Code(Factor29var5, 1), "1111000");  // one run: K & "111000", not a plain code
}

TEST(Slot30, WeightsMonthsRatiosAndOwners) {
  ExFixture f;
  const auto weighed = [](std::string_view date, std::string_view weight, std::string_view course) {
    return RunOf({{ex::RaceYear, date.substr(0, 4)},
                  {ex::RaceMonthDay, date.substr(4, 4)},
                  {ex::BodyWeight, weight},
                  {ex::RacecourseCode, course}});
  };
  // A gain of 4 kg over 28 days at the same racecourse.
  f.SetRuns({weighed("20150101", "470", "05"), weighed("20150129", "474", "05"),
             weighed("20150301", "000", "06")});
  EXPECT_EQ(f.Code(Factor30var1, 3), "1149");
  EXPECT_EQ(f.Code(Factor30var1, 2), "1250");
  ExpectCodes(Factor30var2, "Factor30var2",
              {{{{ex::BirthMonth, "03"}, {ex::SexCode, "1"}}, "0310"},
               {{{ex::BirthMonth, "03"}, {ex::SexCode, "2"}}, "0320"},
               {{{ex::BirthMonth, "07"}, {ex::SexCode, "1"}}, "0100"}},
              f);
  const auto lap = [](std::string_view track, std::string_view first3, std::string_view behind) {
    return std::vector<FieldValue>{{ex::TrackCode, track},
                                   {ex::First3FurlongLapTime, first3},
                                   {ex::Last3FurlongTime, "360"},
                                   {ex::FinishTime, "1360"},
                                   {ex::TimeBehindWinner, behind}};
  };
  // V = 360 x 100 / 350 = 103; X = (960 - 360) / (960 - 5 - 350) x 100 = 99.
  ExpectPreviousCodes(Factor30var3, "Factor30var3",
                      {{lap("17", "350", "+005"), "1103"},
                       {lap("17", "999", "+005"), "0000"},
                       {lap("54", "300", "+005"), "1320"}},
                      f);
  ExpectPreviousCodes(Factor30var4, "Factor30var4",
                      {{lap("17", "350", "+005"), "1199"},
                       {lap("24", "250", "-001"), "1285"},
                       {lap("17", "000", "0000"), "0000"}},
                      f);
  f.SetRuns({RunOf(lap("17", "350", "+005"))});
  EXPECT_EQ(f.Code(Factor30var3, 1), "0000");
  EXPECT_EQ(f.Code(Factor30var4, 1), "10");
  f.WriteStats("BREEDERSEISEI.dat",
               {MakeRecord(35, {{breeder_owner_stat::BreederOwnerCode, "876543"},
                                {breeder_owner_stat::Top3Rate, "020000"}})});
  ExpectCodes(Factor30var5, "Factor30var5", {{{{ex::BreederCode, "87654321"}}, "8"}}, f);
}

// A table set of one kind in which item 1's code "x" has row 1 with the given weights.
CategoryTables Tables(float agari, float pace, float soha) {
  CategoryTables tables;
  for (std::size_t kind = 1; kind <= 3; ++kind) {
    auto& t = tables[kind];
    t.totals[1] = 1;
    t.codes[1] = {"", "x        "};
    t.agari[1] = {0.0f, agari};
    t.pace[1] = {0.0f, pace};
    t.soha[1] = {0.0f, soha};
  }
  return tables;
}

std::vector<FieldValue> ScoredRun(std::string_view track) {
  return {{ex::TrackCode, track},
          {ex::Distance, "1600"},
          {ex::FinishTime, "1360"},
          {ex::Last3FurlongTime, "360"},
          {ex::AbnormalityCode, "0"}};
}

TEST(WeightSums, Factor29var2AndTheSumsOverSwappedTables) {
  ExFixture f({RunOf(ScoredRun("17")), RunOf(ScoredRun("24")), RunOf(ScoredRun("26")),
               RunOf(ScoredRun("54"))});
  std::set<std::string> codes;
  for (const float w : {52.7f, 55.5f, 58.0f, 61.25f, -3.0f}) {
    const CategoryTables tables = Tables(w, w / 2, w * 3);
    const CategoryTables pace = Tables(w / 2, 0, 0);
    const CategoryTables soha = Tables(w * 3, 0, 0);
    for (std::int32_t r = 1; r <= 4; ++r) {
      for (const std::string_view item1 : {"x", "y"}) {
        // The routine on run r with item 1 of the record under construction set; the sums
        // after the categorisation they need.
        const auto code = [&](const CategoryTables& t, ItemRoutine routine) {
          RunnerScoring scoring(&t);
          ItemContext& c = f.At(r);
          c.scoring = &scoring;
          records::Put(*c.CurrentItemRecord, factor_item::Item(1), item1);
          return routine(c);
        };
        const auto totals = [&](const CategoryTables& t,
                                void (RunnerScoring::*sum)(std::string_view),
                                ScoreTotals RunnerScoring::*member) {
          RunnerScoring scoring(&t);
          ItemContext& c = f.At(r);
          records::Put(*c.CurrentItemRecord, factor_item::Item(1), item1);
          scoring.CategorizeRunnerItems(*c.CurrentItemRecord, c.CurrentRun);
          (scoring.*sum)(c.CurrentRun);
          return scoring.*member;
        };
        const std::string live = code(tables, Factor29);
        codes.insert(live);
        EXPECT_EQ(code(tables, Factor29var2), live) << w << " run " << r;
        const ScoreTotals paceSum =
            totals(tables, &RunnerScoring::SumPaceWeights, &RunnerScoring::PaceScoreTotals);
        EXPECT_EQ(totals(tables, &RunnerScoring::SumPaceWeights2, &RunnerScoring::PaceScoreTotals),
                  paceSum);
        EXPECT_EQ(totals(pace, &RunnerScoring::SumAgariWeights, &RunnerScoring::AgariScoreTotals),
                  paceSum);
        EXPECT_EQ(totals(soha, &RunnerScoring::SumAgariWeights, &RunnerScoring::AgariScoreTotals),
                  totals(tables, &RunnerScoring::SumSohaWeights, &RunnerScoring::SohaScoreTotals));
        EXPECT_EQ(code(tables, SumPaceWeights), code(tables, SumPaceWeights2));
      }
    }
  }
  // The scores reach several codes, not only the default.
  EXPECT_GE(codes.size(), 4u);
}

TEST(WeightSums, TotalsOfTheRunsCourseKind) {
  const CategoryTables tables = Tables(1.5f, 2.25f, 3.0f);
  ExFixture f({RunOf(ScoredRun("26"))});
  RunnerScoring scoring(&tables);
  ItemContext& c = f.At(1);
  c.scoring = &scoring;
  records::Put(*c.CurrentItemRecord, factor_item::Item(1), "x");
  scoring.CategorizeRunnerItems(*c.CurrentItemRecord, c.CurrentRun);
  EXPECT_EQ(SumPaceWeights(c), "0 0 2.25");  // dirt track 26 scores as jump
  EXPECT_EQ(SumSohaWeights(c), "0 0 3");
  c.scoring = nullptr;
  EXPECT_THROW(SumSohaWeights(c), ItemAbandoned);
}

TEST(FindFemaleLineRoot, LastMatchingMareOfTheLoadedFile) {
  testing::TempDrive drive;
  // Mares of 13 generations of six values; generation g's value 1 empty marks the root.
  const auto mare = [](std::string_view number, int rootGeneration, std::string_view root) {
    std::string text;
    for (int g = 0; g <= 12; ++g) {
      for (int v = 0; v < 6; ++v) {
        std::string value = g == 0 && v == 0 ? std::string(number) : "v";
        if (g == rootGeneration && v == 0) value = root;
        if (g == rootGeneration && v == 1) value = "";
        text += "\"" + value + "\"" + (v == 5 ? "\r\n" : ",");
      }
    }
    return text;
  };
  testing::WriteFile(DataPath("FL20190101.dat"),
                     mare("2001100001", 3, "R1") + mare("2002100002", 1, "R2") +
                         mare("2001100001", 5, "R3") +
                         mare("2001100001", 13, "") +  // no root: keeps R3
                         mare("2003100003", 2, ""));   // an empty root
  CategorySteps window;
  RecordingHost host;
  window.Form_Load(host);
  ASSERT_EQ(window.state().FemaleLineCount, 5);
  ExFixture f;
  const auto root = [&](std::string_view number) {
    f.SetRuns({RunOf({{ex::AncestorBlocks_BreedingNumber.In(6), number}})});
    ItemContext& c = f.At(1);
    c.femaleLines = &window.state().FemaleLines;
    return std::make_pair(FindFemaleLineRoot(c), Factor27var1(c));
  };
  EXPECT_EQ(root("2001100001"), std::make_pair(std::string("R3"), std::string("11R3")));
  EXPECT_EQ(root("2002100002"), std::make_pair(std::string("R2"), std::string("11R2")));
  EXPECT_EQ(root("2003100003"), std::make_pair(std::string("00000000"), std::string("1112010012")));
  EXPECT_EQ(root("2009999999"), std::make_pair(std::string("00000000"), std::string("1112010012")));
}

}  // namespace
}  // namespace meridax
