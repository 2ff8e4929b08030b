#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datasetup/factors/factor_items.h"
#include "datasetup/factorvariants/factor_variants.h"
#include "tests/factors/ex_fixture.h"
#include "tests/factorvariants/variant_cases.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::ExFixture;
using testing::ExpectCodes;
using testing::ExpectPreviousCodes;
using testing::ExRun;
using testing::FieldValue;
using testing::MakeRecord;
constexpr std::string_view kAbandoned = testing::kAbandoned;

TEST(Factor06var1, CountTableRates) {
  ExFixture f({ExRun({{ex::JockeyCode, "12345"}, {ex::TrackCode, "17"}}),
               ExRun({{ex::JockeyCode, "12345"}, {ex::TrackCode, "24"}}),
               ExRun({{ex::JockeyCode, "12345"}, {ex::TrackCode, "54"}}),
               ExRun({{ex::JockeyCode, "01111"}, {ex::TrackCode, "17"}}),
               ExRun({{ex::JockeyCode, "     "}, {ex::TrackCode, "17"}})});
  // The table as the window opens it gives "000" everywhere.
  for (std::int32_t r = 1; r <= 4; ++r) EXPECT_EQ(f.Code(Factor06var1, r), "000") << r;
  EXPECT_EQ(f.Code(Factor06var1, 5), kAbandoned);

  // Filled as no step fills it, to reach the rates.
  JockeyCountTable table;
  table.Set(5, 0, 12345);
  for (int col : {1, 2, 3}) table.Set(5, col, 1);  // turf placed: 3
  for (int col : {4, 16}) table.Set(5, col, 3);    // turf others: 6 -> 3 x 25 / 9
  for (int col : {7, 19}) table.Set(5, col, 2);    // dirt placed: 4
  table.Set(5, 10, 0);                             // dirt others: 0 -> capped at 20
  table.Set(5, 37, 1);                             // jump placed 1 of 8
  table.Set(5, 42, 7);
  table.Set(1501, 0, 1111);  // past the rows searched
  table.Set(1501, 1, 5);
  const auto code = [&](std::int32_t r) {
    ItemContext& c = f.At(r);
    c.jockeyCounts = &table;
    return Factor06var1(c);
  };
  EXPECT_EQ(code(1), "080");  // 8.33 to 8
  EXPECT_EQ(code(2), "200");
  EXPECT_EQ(code(3), "030");  // 3.125 to 3
  EXPECT_EQ(code(4), "000");
}

TEST(Factor06var2, JockeyAndEarlyFlag) {
  ExFixture f;
  const auto at = [](std::string_view year, std::string_view track, std::string_view abnormal) {
    return std::vector<FieldValue>{{ex::JockeyCode, "01234"},
                                   {ex::RaceYear, year},
                                   {ex::TrackCode, track},
                                   {ex::AbnormalityCode, abnormal}};
  };
  ExpectCodes(Factor06var2, "Factor06var2",
              {{at("2005", "24", "0"), "012341"},
               {at("2005", "24", "1"), "012341"},
               {at("2005", "24", "3"), "012343"},
               {at("2010", "24", "0"), "012340"},
               {at("2005", "51", "0"), "012340"},
               {at("2000", "00", "0"), "012341"},
               {at("2008", "  ", "0"), "012340"}},
              f);
}

TEST(Factor06var3, JumpRateOrCourseRateByDay) {
  ExFixture f;
  f.WriteStats("KISHUSEISEI.dat", {MakeRecord(121, {{person_stat::PersonCode, "01234"},
                                                    {person_stat::JumpTop3Rate, "045999"}})});
  f.WriteStats("OPTION1N\\DONICHI.dat",
               {MakeRecord(127, {{jockey_course_stat::JockeyCode, "01234"},
                                 {jockey_course_stat::Course05Rates.At(1), "030000"},
                                 {jockey_course_stat::Course05Rates.At(2), "012500"},
                                 {jockey_course_stat::Course10Rates.At(2), "100000"}})});
  const auto at = [](std::string_view jockey, std::string_view track, std::string_view rc,
                     std::string_view weekday) {
    return std::vector<FieldValue>{{ex::JockeyCode, jockey},
                                   {ex::TrackCode, track},
                                   {ex::RacecourseCode, rc},
                                   {ex::WeekdayCode, weekday}};
  };
  ExpectCodes(Factor06var3, "Factor06var3",
              {{at("01234", "51", "05", "1"), "145"},
               {at("01234", "17", "05", "1"), "130"},
               {at("01234", "24", "05", "2"), "212"},
               {at("01234", "24", "10", "3"), "2100"},
               {at("01234", "24", "11", "1"), "10"},
               {at("09999", "24", "05", "1"), "10"},
               {at("00000", "  ", "05", "1"), "10"},
               {at("01234", "  ", "05", "1"), kAbandoned}},
              f);
}

TEST(Factor06var4, GradeSymbolAndCondition) {
  ExFixture f;
  ExpectCodes(
      Factor06var4, "Factor06var4",
      {{{{ex::GradeCode, "A"}, {ex::HorseSymbolCode, "01"}, {ex::RaceConditionSymbol, "N2 "}},
        "A01N2 "},
       {{}, "      "}},
      f);
}

TEST(Slot7Variants, PreviousRunCodes) {
  ExFixture f({ExRun({{ex::TrackCode, "17"}})});
  EXPECT_EQ(f.Code(Factor07var1, 1), "0077");
  EXPECT_EQ(f.Code(Factor07var2, 1), "00000");
  EXPECT_EQ(f.Code(Factor07var3, 1), "9000");

  const auto corners = [](std::string_view third, std::string_view fourth) {
    return std::vector<FieldValue>{{ex::ArrivalOrder, "03"},
                                   {ex::CornerPositions.At(3), third},
                                   {ex::CornerPositions.At(4), fourth}};
  };
  ExpectPreviousCodes(Factor07var1, "Factor07var1",
                      {{corners("02", "10"), "0327"},
                       {corners("00", "07"), "0376"},
                       {corners("99", "  "), "0377"},
                       {corners("05", "08"), "0356"}},
                      f);
  f.SetRuns({RunOf(corners("02", "10")), ExRun({{ex::TrackCode, "51"}})});
  EXPECT_EQ(f.Code(Factor07var1, 2), "0377");

  const auto finish = [](std::string_view p, std::string_view a) {
    return std::vector<FieldValue>{{ex::FinishPosition, p}, {ex::AbnormalityCode, a}};
  };
  ExpectPreviousCodes(Factor07var2, "Factor07var2",
                      {{finish("05", "0"), "05000"},
                       {finish("12", "0"), "12000"},
                       {finish("15", "0"), "13000"},
                       {finish("00", "4"), "00004"},
                       {finish("  ", "1"), "13001"}},
                      f);

  const auto odds = [](std::string_view arrival, std::string_view odds) {
    return std::vector<FieldValue>{{ex::ArrivalOrder, arrival}, {ex::WinOdds, odds}};
  };
  ExpectPreviousCodes(Factor07var3, "Factor07var3",
                      {{odds("12", "0035"), "6090"},
                       {odds("12", "0010"), "8090"},
                       {odds("12", "1000"), "1090"},
                       {odds("03", "0035"), "6030"},
                       {odds("08", "0200"), "3080"},
                       {odds("03", "0000"), "9000"},
                       {odds("03", "    "), "9000"},
                       {odds("03", "00 0"), kAbandoned},
                       {odds("  ", "0035"), kAbandoned}},
                      f);
}

TEST(Factor08var1, WeatherAndGoing) {
  ExFixture f;
  const auto at = [](std::string_view track, std::string_view weather) {
    return std::vector<FieldValue>{{ex::TrackCode, track},
                                   {ex::WeatherCode, weather},
                                   {ex::TurfGoingCode, "2"},
                                   {ex::DirtGoingCode, "3"}};
  };
  ExpectCodes(Factor08var1, "Factor08var1",
              {{at("10", "6"), "4200"},
               {at("24", "1"), "1300"},
               {at("49", "4"), "4300"},
               {at("51", "2"), "2200"},
               {at("  ", "1"), kAbandoned}},
              f);
}

std::string SireGoing(std::string_view number) {
  return MakeRecord(402, {{parent_stat::ParentBreedingNumber, number},
                          {parent_stat::LineTop3Rates.At(8), "020000"},
                          {parent_stat::LineTop3Rates.At(9), "009000"},
                          {parent_stat::LineTop3Rates.At(14), "045000"}});
}

TEST(Factor08var2, SireGoingRates) {
  ExFixture f;
  f.WriteStats("OPTION1N\\STALLION.dat", {SireGoing("1234567890"), SireGoing("          ")});
  const auto at = [](std::string_view sire, std::string_view track, std::string_view turf) {
    return std::vector<FieldValue>{{ex::AncestorBlocks_BreedingNumber.In(1), sire},
                                   {ex::TrackCode, track},
                                   {ex::TurfGoingCode, turf},
                                   {ex::DirtGoingCode, "3"},
                                   {ex::WeatherCode, "2"}};
  };
  ExpectCodes(Factor08var2, "Factor08var2",
              {{at("1234567890", "17", "1"), "18"},
               {at("1234567890", "17", "2"), "28"},
               {at("1234567890", "24", "1"), "345"},
               {at("1234567890", "17", "5"), "10"},
               {at("1234567890", "51", "1"), "2100"},
               {at("          ", "17", "0"), "18"},
               {at("9999999999", "  ", "1"), "10"},
               {at("1234567890", "  ", "1"), kAbandoned}},
              f);
}

std::string HorseRates(std::string_view id) {
  return MakeRecord(228, {{horse_stat::HorseId, id},
                          {horse_stat::OverallTop3Rate, "020000"},
                          {horse_stat::LineTop3Rates.At(7), "100000"},
                          {horse_stat::LineTop3Rates.At(9), "030000"},
                          {horse_stat::LineTop3Rates.At(15), "007000"},
                          {horse_stat::LineTop3Rates.At(17), "055000"},
                          {horse_stat::LineTop3Rates.At(21), "050000"},
                          {horse_stat::LineTop3Rates.At(22), "003999"},
                          {horse_stat::LineTop3Rates.At(23), "012000"}});
}

TEST(Slot8HorseVariants, HorseRatesFromBothFiles) {
  ExFixture f;
  f.WriteStats("OPTION1N\\KYOSOBAA.dat", {HorseRates("2016100001"), HorseRates("0000000000")});
  f.WriteStats("OPTION1N\\KYOSOBA.dat", {HorseRates("2016100001")});
  const auto at = [](std::string_view horse, std::string_view track, std::string_view distance) {
    return std::vector<FieldValue>{{ex::HorseId, horse},
                                   {ex::TrackCode, track},
                                   {ex::TurfGoingCode, "2"},
                                   {ex::DirtGoingCode, "4"},
                                   {ex::Distance, distance}};
  };
  const std::string_view id = "2016100001", none = "2016109999";
  ExpectCodes(Factor08var3, "Factor08var3",
              {{at(id, "17", "1600"), "230"},
               {at(id, "24", "1600"), "47"},
               {at(id, "54", "1600"), "255"},
               {at("          ", "54", "1600"), "11"},
               {at("          ", "17", "1600"), "10"},
               {at("0000000000", "17", "1600"), "230"},
               {at(none, "17", "1600"), "10"},
               {at(id, "  ", "1600"), kAbandoned}},
              f);
  ExpectCodes(Factor08var4, "Factor08var4",
              {{at(id, "17", "1800"), "212"},
               {at(id, "17", "2201"), "10"},  // "30" joins "10"
               {at(id, "17", "1600"), "10"},
               {at(id, "24", "1200"), "13"},
               {at(id, "54", "3000"), "125"},
               {at("0000000000", "54", "1600"), "11"},
               {at("          ", "17", "1600"), "10"},
               {at(none, "17", "    "), "10"},
               {at(id, "17", "    "), kAbandoned}},
              f);
  ExpectCodes(Factor08var6, "Factor08var6",
              {{at(id, "17", "1600"), "15"},
               {at(id, "49", "1600"), "15"},
               {at(id, "51", "1600"), "125"},
               {at("0000000000", "51", "1600"), "11"},
               {at(none, "51", "1600"), "10"}},
              f);
}

TEST(Slot8PlaceVariants, EarlierRunsByKind) {
  const auto run = [](std::string_view track, std::string_view arrival) {
    return ExRun({{ex::TrackCode, track}, {ex::ArrivalOrder, arrival}});
  };
  ExFixture f({run("17", "01")});
  EXPECT_EQ(f.Code(Factor08var5, 1), "000");
  EXPECT_EQ(f.Code(Factor08var7, 1), "000");
  f.SetRuns({run("17", "01"), run("24", "05"), run("24", "02"), run("17", "09"), run("54", "01"),
             run("24", "01")});
  struct Case {
    std::int32_t r;
    std::string_view var5;
  };
  const Case cases[] = {
      {1, "200"},  // its own placed turf run
      {2, "001"},  // a dirt run: no dirt run yet ("00"), turf 1 of 1 (20)
      {3, "001"},  // dirt 0 of 1, turf 20
      {4, "201"},  // turf 20, dirt 1 of 2 = 12
      {6, "121"},  // dirt 12 against turf 1 of 2 = 12
  };
  for (const auto& c : cases) {
    EXPECT_EQ(f.Code(Factor08var5, c.r), c.var5) << c.r;
    std::string var7(c.var5);
    var7.back() = '0';
    EXPECT_EQ(f.Code(Factor08var7, c.r), var7) << c.r;
  }
  // A jump run ends in "0" also for var5: jump 0 of 0 earlier.
  EXPECT_EQ(f.Code(Factor08var5, 5), "000");
}

TEST(Factor09var1, EqualsTheLiveRoutineUpToRun51) {
  ExFixture f({ExRun({})});
  for (std::int32_t r = 1; r <= 51; ++r) {
    EXPECT_EQ(f.Code(Factor09var1, r), f.Code(Factor09, r)) << r;
  }
  EXPECT_EQ(f.Code(Factor09var1, 52), "051");
  EXPECT_EQ(f.Code(Factor09var1, 60), "059");
  EXPECT_EQ(f.Code(Factor09var1, 61), "060");
  EXPECT_EQ(f.Code(Factor09var1, 500), "060");
}

TEST(Slot10And11Variants, DifferFromTheLiveRoutinesOnlyBySex) {
  ExFixture f;
  for (const std::string_view weight : {"550", "480", "000", "   "}) {
    for (const std::string_view body : {"480", "300", "600", "   ", "416"}) {
      for (const std::string_view sex : {"1", "2", "3", " "}) {
        f.SetRuns(
            {ExRun({{ex::WeightCarried, weight}, {ex::BodyWeight, body}, {ex::SexCode, sex}})});
        const bool male = sex == "1" || sex == "3";
        const int live10 = std::stoi(f.Code(Factor10, 1));
        const int var10 = std::stoi(f.Code(Factor10var1, 1));
        // Live: 200 added for the other sexes, 300 back to 100.
        EXPECT_EQ(live10, male ? var10 : var10 == 100 ? 100 : var10 + 200) << weight << body << sex;
        const int live11 = std::stoi(f.Code(Factor11, 1));
        EXPECT_EQ(f.Code(Factor11var1, 1), std::to_string(male ? live11 + 30 : live11));
      }
    }
  }
  f.SetRuns({ExRun({{ex::BodyWeight, "560"}, {ex::SexCode, "1"}})});
  EXPECT_EQ(f.Code(Factor11var1, 1), "100");
  f.SetRuns({ExRun({{ex::WeightCarried, "480"}, {ex::BodyWeight, "600"}, {ex::SexCode, "2"}})});
  EXPECT_EQ(f.Code(Factor10var1, 1), "096");
}

std::string JockeyPrize(std::string_view code, std::string_view flatRuns,
                        std::string_view flatPrize, std::string_view jumpRuns,
                        std::string_view jumpPrize) {
  return MakeRecord(121, {{person_stat::PersonCode, code},
                          {person_stat::TotalFlatRuns, flatRuns},
                          {person_stat::TotalFlatPrize, flatPrize},
                          {person_stat::JumpRuns, jumpRuns},
                          {person_stat::TotalJumpPrize, jumpPrize}});
}

TEST(Slot13JockeyVariants, PrizePerRun) {
  ExFixture f;
  f.WriteStats("KISHUSEISEI.dat",
               {JockeyPrize("01000", "000010", "000010000", "000000", "000000000"),
                JockeyPrize("02000", "000010", "001000000", "000010", "000001000"),
                JockeyPrize("03000", "000010", "000001000", "000000", "000000000"),
                JockeyPrize("     ", "000001", "000001000", "000000", "000000000")});
  const auto at = [](std::string_view jockey, std::string_view track) {
    return std::vector<FieldValue>{{ex::JockeyCode, jockey}, {ex::TrackCode, track}};
  };
  ExpectCodes(Factor13var1, "Factor13var1",
              {{at("01000", "17"), "30"},
               {at("02000", "17"), "35"},  // 50
               {at("03000", "17"), "27"},  // 20
               {at("01000", "51"), "27"},  // no jump runs: "00"
               {at("02000", "30"), "27"},  // jump: 100 per run
               {at("09999", "17"), "27"},
               {at("00000", "17"), "27"},
               {at("     ", "17"), "27"},
               {at("01000", "  "), kAbandoned}},
              f);
  ExpectCodes(Factor13var5, "Factor13var5",
              {{at("01000", "17"), "30"},
               {at("02000", "17"), "50"},
               {at("02000", "30"), "20"},
               {at("02000", "  "), "20"},  // below "00" by text: the jump figures
               {at("01000", "51"), "00"},
               {at("     ", "17"), "30"},
               {at("00000", "17"), "00"},
               {at("09999", "17"), "0"}},
              f);
}

TEST(Factor13var4, SireEarningsPerEarner) {
  ExFixture f;
  const auto sire = [](std::string_view number, std::string_view flat, std::string_view jump,
                       std::string_view sum) {
    return MakeRecord(402, {{parent_stat::ParentBreedingNumber, number},
                            {parent_stat::OffspringWithFlatEarnings, flat},
                            {parent_stat::OffspringWithJumpEarnings, jump},
                            {parent_stat::OffspringFlatEarningsTotal, sum}});
  };
  f.WriteStats("OPTION1N\\STALLION.dat", {sire("1234567890", "000010", "000000", "000010000"),
                                          sire("2234567890", "000004", "000002", "000000000"),
                                          sire("0000000000", "000001", "000001", "000000999")});
  const auto at = [](std::string_view number, std::string_view track) {
    return std::vector<FieldValue>{{ex::AncestorBlocks_BreedingNumber.In(1), number},
                                   {ex::TrackCode, track}};
  };
  ExpectCodes(Factor13var4, "Factor13var4",
              {{at("1234567890", "17"), "3"},
               {at("1234567890", "51"), "00"},
               {at("2234567890", "51"), "00"},
               {at("0000000000", "17"), "2"},
               {at("9999999999", "  "), "00"},
               {at("1234567890", "  "), kAbandoned}},
              f);
}

TEST(Slot13MeetingVariants, MeetingCodesAndCalendar) {
  ExFixture f;
  const auto at = [](std::string_view year, std::string_view rc, std::string_view meeting,
                     std::string_view day, std::string_view track) {
    return std::vector<FieldValue>{{ex::RaceYear, year},         {ex::RacecourseCode, rc},
                                   {ex::MeetingNumber, meeting}, {ex::MeetingDay, day},
                                   {ex::TrackCode, track},       {ex::HorseNumber, "11"},
                                   {ex::RaceMonthDay, "0315"}};
  };
  ExpectCodes(Factor13var2, "Factor13var2",
              {{at("2007", "01", "02", "05", "17"), "05030"},
               {at("2007", "01", "03", "07", "51"), "07311"},
               {at("2007", "01", "03", "07", "  "), "07311"}},
              f);
  ExpectCodes(Factor13var3, "Factor13var3",
              {{at("2007", "01", "03", "07", "51"), "07311"},
               {at("2007", "01", "02", "05", "17"), "130001"},
               {at("2007", "01", "02", "10", "17"), "170001"},
               {at("2007", "01", "02", "08", "17"), "160001"},
               {at("2008", "01", "07", "02", "17"), "100001"},
               {at("2009", "04", "04", "01", "24"), "170001"},
               {at("2007", "01", "03", "05", "17"), "000001"},
               {at("2010", "11", "01", "05", "17"), "000001"},
               {at("2014", "01", "01", "05", "17"), "0001"},
               {at("2007", "01", "01", "05", "  "), kAbandoned}},
              f);
}

}  // namespace
}  // namespace meridax
