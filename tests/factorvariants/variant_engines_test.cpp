#include "datasetup/factorvariants/variant_engines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/factors/ex_fixture.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using namespace variants;
using testing::ExFixture;
using testing::ExRun;
using testing::MakeRecord;

TEST(Join, SegmentsInOrder) {
  const std::string run = ExRun({{ex::RaceYear, "2009"},
                                 {ex::RaceMonthDay, "0913"},
                                 {ex::MeetingNumber, "02"},
                                 {ex::HorseNumber, "  "}});
  struct Case {
    Recipe recipe;
    std::string_view code;
  };
  const Case cases[] = {
      {Cat(Fld(ex::RaceYear)), "2009"},
      {Cat(Right(ex::RaceYear, 2), Left(ex::RaceMonthDay, 2), Fld(ex::MeetingNumber), Lit("00")),
       "09090200"},
      {Cat(Right(ex::MeetingNumber, 1), Fld(ex::HorseNumber), Lit("x")), "2  x"},
      {Cat(Value(1), Lit("-"), Value(0)), "b-a"},
      {Cat(), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Join(run, c.recipe, {"a", "b"}), c.code) << c.code;
}

TEST(Remapped, ByCodeAndByValue) {
  constexpr CodeRemap codes[] = {{"20", "10"}, {"30", "10"}, {"10", "99"}};
  EXPECT_EQ(Remapped("20", codes), "10");  // one remap only, not a chain
  EXPECT_EQ(Remapped("10", codes), "99");
  EXPECT_EQ(Remapped("020", codes), "020");
  EXPECT_EQ(Remapped("", codes), "");
  constexpr ValueRemap values[] = {{25, 30, "00030"}, {49, 49, "00050"}};
  EXPECT_EQ(Remapped("00025", values), "00030");
  EXPECT_EQ(Remapped("00030", values), "00030");
  EXPECT_EQ(Remapped("00031", values), "00031");
  EXPECT_EQ(Remapped("00049", values), "00050");
  EXPECT_EQ(Remapped("00048", values), "00048");
}

TEST(DateDigits, FirstWindowHoldingTheDateElseOtherwise) {
  constexpr DateDigits digits{{{{20050601, 20061201, "1"}, {20061202, 20071231, "2"}}}, "3"};
  struct Case {
    std::int32_t date;
    std::string_view digit;
  };
  const Case cases[] = {{20050531, "3"}, {20050601, "1"}, {20061201, "1"}, {20061202, "2"},
                        {20071231, "2"}, {20080101, "3"}, {0, "3"}};
  for (const auto& c : cases) EXPECT_EQ(DigitOn(digits, c.date), c.digit) << c.date;
  constexpr DateDigits always{{}, "1"};
  EXPECT_EQ(DigitOn(always, 0), "1");

  constexpr CourseDateDigits table[] = {{"07", {{{{20100101, 20120302, "1"}}}, "2"}}};
  EXPECT_EQ(CourseDigitOn(table, "07", 20120302), "1");
  EXPECT_EQ(CourseDigitOn(table, "07", 20120303), "2");
  EXPECT_FALSE(CourseDigitOn(table, "08", 20120302));
}

TEST(RunDateNumber, YearAndMonthDayAsOneNumber) {
  EXPECT_EQ(RunDateNumber(ExRun({{ex::RaceYear, "2010"}, {ex::RaceMonthDay, "0101"}})), 20100101);
  EXPECT_EQ(RunDateNumber(ExRun({})), 0);
}

std::optional<RateLine> JumpLine(std::string_view run) {
  if (TrackNumber(run) < 50) return std::nullopt;
  return RateLine{horse_stat::LineTop3Rates.At(7), "1"};
}

TEST(RateFigureCode, FirstRecordOfTheKeyBucketedAndPrefixed) {
  ExFixture f;
  f.WriteStats("OPTION1N\\KYOSOBA.dat",
               {MakeRecord(228, {{horse_stat::HorseId, "2016100001"},
                                 {horse_stat::LineTop3Rates.At(7), "039999"}}),
                MakeRecord(228, {{horse_stat::HorseId, "2016100001"},
                                 {horse_stat::LineTop3Rates.At(7), "099999"}})});
  struct Case {
    std::string_view horse;
    std::string_view track;
    RateScale scale;
    std::optional<std::string> code;
  };
  const Case cases[] = {
      {"2016100001", "51", RateScale::kSteps4, "19"},
      {"2016100001", "51", RateScale::kPercent, "139"},
      {"2016100001", "17", RateScale::kSteps4, std::nullopt},  // no line chosen
      {"2016109999", "51", RateScale::kSteps4, std::nullopt},  // no record
      {"2016109999", "  ", RateScale::kSteps4, std::nullopt},  // the line is chosen on a match
  };
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::HorseId, c.horse}, {ex::TrackCode, c.track}})});
    ItemContext& context = f.At(1);
    const RateFigure figure{kHorseStats, JumpLine, c.scale};
    EXPECT_EQ(RateFigureCode(context, context.CurrentRun, c.horse, figure), c.code)
        << c.horse << "/" << c.track;
  }
  f.SetRuns({ExRun({{ex::HorseId, "2016100001"}, {ex::TrackCode, "  "}})});
  ItemContext& context = f.At(1);
  EXPECT_THROW(RateFigureCode(context, context.CurrentRun, "2016100001",
                              {kHorseStats, JumpLine, RateScale::kSteps4}),
               ItemAbandoned);
}

TEST(GoingLine, GoingCodesSelectFourLines) {
  const records::FieldRef lines = horse_stat::LineTop3Rates;
  struct Case {
    std::string_view going;
    int line;  // 0: none
    std::string_view digit;
  };
  const Case cases[] = {{"0", 8, "1"},  {"1", 8, "1"}, {"2", 9, "2"}, {"3", 10, "3"},
                        {"4", 11, "4"}, {"5", 0, ""},  {" ", 0, ""},  {"", 0, ""}};
  for (const auto& c : cases) {
    const auto line = GoingLine(c.going, lines, 8);
    ASSERT_EQ(line.has_value(), c.line != 0) << c.going;
    if (!line) continue;
    EXPECT_EQ(line->field, lines.At(c.line)) << c.going;
    EXPECT_EQ(line->prefix, c.digit) << c.going;
  }
}

TEST(PlaceRate, NearestWithHalvesToEvenCappedAt20) {
  struct Case {
    std::int64_t top;
    std::int64_t total;
    std::int64_t rate;
  };
  const Case cases[] = {
      {0, 0, 0},  {5, 0, 0},  {1, 2, 12},  // 12.5 to the even 12
      {3, 10, 8},                          // 7.5 to the even 8
      {1, 3, 8},  {2, 3, 17}, {4, 5, 20}, {1, 1, 20}, {9, 10, 20},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlaceRate(c.top, c.total), c.rate) << c.top << "/" << c.total;
}

TEST(EarlierPlaceRates, RatesOfEarlierRunsByKind) {
  const auto run = [](std::string_view track, std::string_view arrival) {
    return ExRun({{ex::TrackCode, track}, {ex::ArrivalOrder, arrival}});
  };
  ExFixture f({run("17", "01"), run("24", "05"), run("17", "04"), run("51", "03"), run("49", "02"),
               run("10", "09")});
  // Turf 1 of 2 placed (12.5 to 12), dirt 1 of 2 (12), jump 1 of 1 (25, capped at 20).
  ItemContext& c = f.At(6);
  const KindPlaceRates rates = EarlierPlaceRates(c);
  EXPECT_EQ(rates.rates, (std::array<std::string, 3>{"12", "12", "20"}));
  EXPECT_EQ(rates.currentKind, 0);
  EXPECT_EQ(c.CurrentRun, f.At(6).CurrentRun);
  // Run 1 of several: its own kind reads "20" when it placed.
  const KindPlaceRates first = EarlierPlaceRates(f.At(1));
  EXPECT_EQ(first.rates, (std::array<std::string, 3>{"20", "00", "00"}));
  // A file of one run reads "00" for every kind.
  f.SetRuns({run("17", "01")});
  EXPECT_EQ(EarlierPlaceRates(f.At(1)).rates, (std::array<std::string, 3>{"00", "00", "00"}));
  // An earlier run without a track code fails.
  f.SetRuns({run("  ", "01"), run("17", "01")});
  EXPECT_THROW(EarlierPlaceRates(f.At(2)), ItemAbandoned);
}

TEST(PrizePerRun, NoneForNoRuns) {
  const PrizeFields fields{person_stat::TotalFlatRuns, person_stat::TotalFlatPrize};
  const auto stat = [](std::string_view runs, std::string_view prize) {
    return MakeRecord(121,
                      {{person_stat::TotalFlatRuns, runs}, {person_stat::TotalFlatPrize, prize}});
  };
  EXPECT_EQ(PrizePerRun(stat("000010", "000001000"), fields), 100);
  EXPECT_EQ(PrizePerRun(stat("000004", "000000000"), fields), 0);
  EXPECT_FALSE(PrizePerRun(stat("000000", "000001000"), fields));
  EXPECT_FALSE(PrizePerRun(stat("      ", "000001000"), fields));
}

TEST(JockeyCountTable, ZeroFilledFirstRowOfANumberWithinTheRowsSearched) {
  JockeyCountTable table;
  EXPECT_EQ(table.At(2000, 42), 0);
  EXPECT_THROW(table.At(2001, 0), std::out_of_range);
  EXPECT_THROW(table.At(0, 43), std::out_of_range);
  // Every row holds number 0, so 0 is found in row 1.
  EXPECT_EQ(table.FirstRow(0, 1500), 1);
  EXPECT_EQ(table.FirstRow(1234, 1500), 0);
  // Five-digit jockey numbers fit the cells.
  table.Set(7, 0, 99999);
  table.Set(3, 0, 99999);
  table.Set(1600, 0, 12345);
  EXPECT_EQ(table.FirstRow(99999, 1500), 3);
  EXPECT_EQ(table.FirstRow(12345, 1500), 0);
  EXPECT_EQ(table.FirstRow(12345, 2000), 1600);
}

}  // namespace
}  // namespace meridax
