#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "datasetup/factors/factor_items.h"
#include "tests/factors/ex_fixture.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::ExFixture;
using testing::ExRun;
using testing::MakeRecord;
constexpr std::string_view kAbandoned = testing::kAbandoned;

TEST(Factor06, CaseTable) {
  struct Case {
    std::string_view symbol;
    std::string_view track;
    std::string_view code;
  };
  const Case cases[] = {
      {"N2 ", "23", "N0"},       {"N2A", "24", "N0"},       {"N2 ", "25", "N2"},
      {"N2 ", "10", "N2"},       {"A01", "23", "A0"},       {"   ", "17", "  "},
      {"N2 ", "  ", kAbandoned}, {"A01", "X1", kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::RaceConditionSymbol, c.symbol}, {ex::TrackCode, c.track}})});
    EXPECT_EQ(f.Code(Factor06, 1), c.code) << c.symbol << "/" << c.track;
  }
}

std::string JockeyStat(std::string_view code, std::string_view turf, std::string_view dirt,
                       std::string_view jump) {
  return MakeRecord(121, {{person_stat::PersonCode, code},
                          {person_stat::TotalTurfTop3Rate, turf},
                          {person_stat::TotalDirtTop3Rate, dirt},
                          {person_stat::JumpTop3Rate, jump}});
}

TEST(Factor07, CaseTable) {
  ExFixture f;
  f.WriteStats("KISHUSEISEI.dat", {JockeyStat("01111", "003999", "008000", "036000"),
                                   JockeyStat("02222", "040000", "000000", "000000"),
                                   JockeyStat("03333", "000000", "000000", "000000"),
                                   JockeyStat("04444", "004000", "000000", "000000"),
                                   JockeyStat("05555", "020000", "000000", "000000"),
                                   // a later record of a jockey never counts
                                   JockeyStat("01111", "099999", "099999", "099999")});
  struct Case {
    std::string_view jockey;
    std::string_view track;
    std::string_view code;
  };
  const Case cases[] = {
      {"01111", "17", "11"},       {"01111", "22", "11"},       {"01111", "23", "12"},
      {"01111", "29", "12"},       {"01111", "30", "19"},       {"01111", "52", "19"},
      {"01111", "-1", "19"},       {"02222", "17", "19"},       {"03333", "17", "11"},
      {"04444", "17", "11"},       {"05555", "17", "15"},       {"09999", "17", "11"},
      {"09999", "  ", "11"},       {"00000", "17", "11"},       {"     ", "17", "11"},
      {"00000", "  ", kAbandoned}, {"     ", "AB", kAbandoned}, {"01111", "  ", kAbandoned},
  };
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::JockeyCode, c.jockey}, {ex::TrackCode, c.track}})});
    EXPECT_EQ(f.Code(Factor07, 1), c.code) << c.jockey << "/" << c.track;
  }
}

TEST(Factor07, AFailureAfterAMatchLeavesLaterLookUpsWorking) {
  ExFixture f({ExRun({{ex::JockeyCode, "05555"}, {ex::TrackCode, "  "}}),
               ExRun({{ex::JockeyCode, "05555"}, {ex::TrackCode, "17"}})});
  f.WriteStats("KISHUSEISEI.dat", {JockeyStat("05555", "020000", "000000", "000000")});
  EXPECT_EQ(f.Code(Factor07, 1), kAbandoned);
  EXPECT_EQ(f.Code(Factor07, 2), "15");
}

std::string HorseStat(std::string_view id, std::string_view overall, std::string_view jump) {
  return MakeRecord(228, {{horse_stat::HorseId, id},
                          {horse_stat::OverallTop3Rate, overall},
                          {horse_stat::LineTop3Rates.At(7), jump}});
}

TEST(Factor08, CaseTable) {
  ExFixture f;
  f.WriteStats(
      "OPTION1N\\KYOSOBA.dat",
      {HorseStat("2016100001", "000000", "100000"), HorseStat("2016100002", "100000", "000000"),
       HorseStat("2016100003", "050000", "004000"), HorseStat("2016100001", "099999", "099999")});
  struct Case {
    std::string_view horse;
    std::string_view track;
    std::string_view code;
  };
  const Case cases[] = {
      {"2016100001", "17", "0"},        {"2016100001", "49", "0"},
      {"2016100001", "50", "25"},       {"2016100001", "51", "25"},
      {"2016100002", "17", "25"},       {"2016100003", "49", "12"},
      {"2016100003", "51", "1"},        {"2016109999", "17", "10"},
      {"2016109999", "  ", "10"},       {"0000000000", "17", "10"},
      {"          ", "17", "10"},       {"0000000000", "  ", kAbandoned},
      {"          ", "X ", kAbandoned}, {"2016100001", "AB", kAbandoned},
  };
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::HorseId, c.horse}, {ex::TrackCode, c.track}})});
    EXPECT_EQ(f.Code(Factor08, 1), c.code) << c.horse << "/" << c.track;
  }
}

TEST(Factor09, CaseTable) {
  struct Case {
    std::int32_t r;
    std::string_view code;
  };
  const Case cases[] = {{1, "001"},  {2, "001"},  {3, "002"},  {10, "009"},
                        {50, "049"}, {51, "050"}, {120, "050"}};
  ExFixture f({ExRun({})});
  for (const auto& c : cases) EXPECT_EQ(f.Code(Factor09, c.r), c.code) << c.r;
}

TEST(Factor10, CaseTable) {
  struct Case {
    std::string_view weight;
    std::string_view body;
    std::string_view sex;
    std::string_view code;
  };
  const Case cases[] = {
      // 55 kg on 480 kg: 102.8 rounds to 103, then the even 102.
      {"550", "480", "1", "102"},
      {"550", "480", "3", "102"},
      {"550", "480", "2", "302"},
      // No body weight: 100 for every sex, a female's 300 back to 100.
      {"550", "   ", "1", "100"},
      {"550", "   ", "2", "100"},
      {"550", "   ", " ", "100"},
      {"000", "480", "2", "100"},
      {"550", "300", "1", "114"},
      {"550", "300", "2", "314"},
      {"480", "600", "1", "096"},
      {"480", "600", "2", "296"},
      {"570", "470", "1", "108"},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns(
        {ExRun({{ex::WeightCarried, c.weight}, {ex::BodyWeight, c.body}, {ex::SexCode, c.sex}})});
    EXPECT_EQ(f.Code(Factor10, 1), c.code) << c.weight << "/" << c.body << "/" << c.sex;
  }
}

TEST(Factor11, CaseTable) {
  struct Case {
    std::string_view body;
    std::string_view code;
  };
  const Case cases[] = {{"   ", "50"}, {"000", "50"}, {"415", "50"}, {"416", "52"},
                        {"424", "53"}, {"560", "70"}, {"567", "70"}, {"600", "70"}};
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::BodyWeight, c.body}})});
    EXPECT_EQ(f.Code(Factor11, 1), c.code) << c.body;
  }
}

TEST(Factor12, CaseTable) {
  struct Case {
    std::string_view birth;  // yyyymmdd
    std::string_view race;   // yyyymmdd
    std::string_view track;
    std::string_view sex;
    std::string_view code;
  };
  const Case cases[] = {
      // 1000 days: 33 months on the flat.
      {"20160101", "20180927", "17", "1", "133"},
      {"20160101", "20180927", "17", "2", "233"},
      {"20160101", "20180927", "17", "3", "334"},
      {"20160101", "20180927", "17", " ", "334"},
      {"20160229", "20181125", "29", "1", "133"},
      // Off the flat the least age is 40 months: 35 months gives 40.
      {"20160101", "20181116", "54", "1", "140"},
      {"20160101", "20181116", "54", "2", "241"},
      {"20160101", "20181116", "54", "3", "341"},
      {"20160101", "20180927", "30", "1", "140"},
      // 100 months is 90, then 59; 43 stays 43; 10 months is 27 on the flat.
      {"20160101", "20240319", "17", "1", "159"},
      {"20160101", "20190714", "17", "1", "143"},
      {"20160101", "20161027", "17", "1", "127"},
      {"20160101", "20161027", "17", "3", "334"},
      // Only the last four digits of a day count past 9999 are kept.
      {"19900101", "20171205", "17", "1", "127"},
      {"2016  01", "20180927", "17", "1", kAbandoned},
      {"20160101", "2018    ", "17", "1", kAbandoned},
      {"20160101", "20190229", "17", "1", kAbandoned},
      {"20160101", "20180927", "  ", "1", kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::BirthDate, c.birth},
                      {ex::RaceYear, c.race.substr(0, 4)},
                      {ex::RaceMonthDay, c.race.substr(4)},
                      {ex::TrackCode, c.track},
                      {ex::SexCode, c.sex}})});
    EXPECT_EQ(f.Code(Factor12, 1), c.code) << c.birth << "/" << c.race << "/" << c.track;
  }
}

std::string SireStat(std::string_view sire, std::string_view sum) {
  return MakeRecord(402, {{parent_stat::ParentBreedingNumber, sire},
                          {parent_stat::OffspringFlatEarningsTotal, sum}});
}

TEST(Factor13, CaseTable) {
  ExFixture f;
  f.WriteStats("OPTION1N\\STALLION.dat",
               {SireStat("1100000001", "000000000"), SireStat("1100000002", "000000001"),
                SireStat("1100000003", "000000010"), SireStat("1100000004", "000001000"),
                SireStat("1100000005", "000000999"), SireStat("1100000006", "-00000010"),
                SireStat("1100000002", "000001000")});
  struct Case {
    std::string_view sire;
    std::string_view track;
    std::string_view code;
  };
  const Case cases[] = {
      {"1100000001", "17", "00"},       {"1100000002", "17", "0"},
      {"1100000003", "54", "10"},       {"1100000004", "23", "30"},
      {"1100000005", "17", "29"},       {"1199999999", "17", "00"},
      {"1199999999", "  ", "00"},       {"0000000000", "  ", "00"},
      {"          ", "17", "00"},       {"1100000003", "  ", kAbandoned},
      {"1100000006", "17", kAbandoned},
  };
  for (const auto& c : cases) {
    f.SetRuns(
        {ExRun({{ex::AncestorBlocks_BreedingNumber.In(1), c.sire}, {ex::TrackCode, c.track}})});
    EXPECT_EQ(f.Code(Factor13, 1), c.code) << c.sire << "/" << c.track;
  }
}

TEST(StatisticsItems, AMissingFileIsCreatedOnlyByARealLookUp) {
  ExFixture f({ExRun({{ex::JockeyCode, "00000"},
                      {ex::HorseId, "0000000000"},
                      {ex::AncestorBlocks_BreedingNumber.In(1), "          "},
                      {ex::TrackCode, "17"}}),
               ExRun({{ex::JockeyCode, "01111"},
                      {ex::HorseId, "2016100001"},
                      {ex::AncestorBlocks_BreedingNumber.In(1), "1100000001"},
                      {ex::TrackCode, "17"}})});
  const auto data = f.drive.data();
  const std::filesystem::path files[] = {data / "KISHUSEISEI.dat", data / "OPTION1N/KYOSOBA.dat",
                                         data / "OPTION1N/STALLION.dat"};
  EXPECT_EQ(f.Code(Factor07, 1), "11");
  EXPECT_EQ(f.Code(Factor08, 1), "10");
  EXPECT_EQ(f.Code(Factor13, 1), "00");
  for (const auto& file : files) EXPECT_FALSE(std::filesystem::exists(file)) << file;

  EXPECT_EQ(f.Code(Factor07, 2), "11");
  EXPECT_EQ(f.Code(Factor08, 2), "10");
  EXPECT_EQ(f.Code(Factor13, 2), "00");
  for (const auto& file : files) {
    EXPECT_TRUE(std::filesystem::exists(file)) << file;
    EXPECT_EQ(std::filesystem::file_size(file), 0u) << file;
  }

  // Without the folder every real look-up fails.
  f.stats.Clear();
  std::filesystem::remove_all(data / "OPTION1N");
  EXPECT_EQ(f.Code(Factor08, 2), kAbandoned);
  EXPECT_EQ(f.Code(Factor13, 2), kAbandoned);
  EXPECT_EQ(f.Code(Factor08, 1), "10");
}

}  // namespace
}  // namespace meridax
