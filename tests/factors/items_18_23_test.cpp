#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "datasetup/factors/factor_items.h"
#include "platform/drive.h"
#include "tests/factors/ex_fixture.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::ExFixture;
using testing::ExRun;
using testing::MakeRecord;
constexpr std::string_view kAbandoned = testing::kAbandoned;

TEST(Factor18, CaseTable) {
  struct Case {
    std::string_view year, birthYear, track, apprentice, code;
  };
  const Case cases[] = {
      {"2019", "1994", "17", "1", "0231"},  // aged 25 on the flat
      {"2019", "1999", "29", "3", "0203"},  // 20
      {"2019", "1993", "10", "0", "0280"},  // 26
      {"2019", "1984", "10", "2", "0332"},  // 35
      {"2019", "1979", "10", "2", "0382"},  // 40
      {"2019", "1978", "10", "2", "0432"},  // 41
      {"2019", "1994", "51", "1", "0230"},  // over jumps the last character is "0"
      {"2019", "1994", "30", "1", "0230"},
      // A birth year "0000": the last two digits of the race year.
      {"2015", "0000", "17", "1", "0201"},
      {"2023", "0000", "17", "1", "0231"},
      // Ages compare as text: a one-digit "4" sorts between "36" and "40".
      {"2019", "2115", "17", "1", "0381"},
      {"    ", "1994", "17", "1", kAbandoned},
      {"2019", "    ", "17", "1", kAbandoned},
      {"2019", "1994", "  ", "1", kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::RaceYear, c.year},
                      {ex::JockeyBirthYear, c.birthYear},
                      {ex::TrackCode, c.track},
                      {ex::ApprenticeCode, c.apprentice}})});
    EXPECT_EQ(f.Code(Factor18, 1), c.code) << c.year << "/" << c.birthYear << "/" << c.track;
  }
}

TEST(Factor19, CaseTable) {
  struct Case {
    std::string_view trainer, track, code;
  };
  const Case cases[] = {
      {"00001", "17", "110"},                              // a rate of 1.0 gives 125, capped
      {"00001", "40", "19"},                               // dirt: just below 0.4
      {"00001", "23", "19"},       {"00001", "54", "12"},  // jump
      {"00002", "22", "110"},      {"00003", "17", "10"},  // not in the file
      {"00000", "17", "10"},       {"     ", "17", "10"},
      {"00000", "  ", kAbandoned},  // the track code is converted first
      {"00001", "1A", kAbandoned},
  };
  ExFixture f;
  f.WriteStats("CHOKYOSEISEI.dat", {MakeRecord(121, {{person_stat::PersonCode, "00001"},
                                                     {person_stat::TotalTurfTop3Rate, "100000"},
                                                     {person_stat::TotalDirtTop3Rate, "039999"},
                                                     {person_stat::JumpTop3Rate, "008000"}}),
                                    MakeRecord(121, {{person_stat::PersonCode, "00002"},
                                                     {person_stat::TotalTurfTop3Rate, "040000"}}),
                                    MakeRecord(121, {{person_stat::PersonCode, "00002"},
                                                     {person_stat::TotalTurfTop3Rate, "000000"}})});
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::TrainerCode, c.trainer}, {ex::TrackCode, c.track}})});
    EXPECT_EQ(f.Code(Factor19, 1), c.code) << c.trainer << "/" << c.track;
  }
}

std::string SireRecord(std::string_view number, std::string_view flatStarts,
                       std::string_view flatPrize, std::string_view jumpStarts = "000000",
                       std::string_view jumpPrize = "000000000") {
  return MakeRecord(402, {{parent_stat::ParentBreedingNumber, number},
                          {parent_stat::JraStarts, flatStarts},
                          {parent_stat::OffspringFlatPrizeTotal, flatPrize},
                          {parent_stat::JumpStarts, jumpStarts},
                          {parent_stat::OffspringJumpPrizeTotal, jumpPrize}});
}

TEST(Factor20, CaseTable) {
  struct Case {
    std::string_view sire, track, code;
  };
  const Case cases[] = {
      {"1000000001", "17", "0"},                               // no starts
      {"1000000002", "17", "25"},                              // 1000 over 100 starts: 10, remapped
      {"1000000002", "29", "25"}, {"1000000003", "17", "-4"},  // a ratio of 0.5
      {"1000000004", "17", "46"},                              // 100000 gives 50, capped
      {"1000000005", "17", "0"},                               // no prize
      {"1000000006", "17", "45"},                              // kept between 25 and 46
      {"1000000007", "17", "0"},                               // a ratio of 1
      {"1000000002", "30", "46"},  // over jumps the jump starts and prize
      {"1000000009", "17", "0"},   // not in the file
      {"0000000000", "17", "0"},  {"1000000002", "  ", kAbandoned}, {"1000000009", "  ", "0"},
  };
  ExFixture f;
  f.WriteStats("OPTION1N\\STALLION.dat",
               {SireRecord("1000000001", "000000", "000001000"),
                SireRecord("1000000002", "000100", "000001000", "000010", "001000000"),
                SireRecord("1000000003", "000100", "000000050"),
                SireRecord("1000000004", "000100", "010000000"),
                SireRecord("1000000005", "000005", "000000000"),
                SireRecord("1000000006", "000001", "000031623"),
                SireRecord("1000000007", "000007", "000000007")});
  for (const auto& c : cases) {
    f.SetRuns(
        {ExRun({{ex::AncestorBlocks_BreedingNumber.In(1), c.sire}, {ex::TrackCode, c.track}})});
    EXPECT_EQ(f.Code(Factor20, 1), c.code) << c.sire << "/" << c.track;
  }
}

TEST(Factor21And22, CaseTables) {
  struct Case {
    std::string_view track, distance, division, item21, item22;
  };
  const Case cases[] = {
      {"17", "1600", "A ", "11A", "1600A "}, {"24", "1600", "B ", "11A", "1600B "},
      {"29", "1800", "  ", "A", "1800  "},   {"25", "1800", "  ", "A", "1800  "},
      {"51", "2800", "  ", "A", "2800"},     {"51", "2801", "  ", "A", "2900"},
      {"54", "2999", "  ", "A", "2900"},     {"54", "3000", "  ", "A", "3500"},
      {"54", "3500", "  ", "A", "3500"},     {"54", "3501", "  ", "A", "4000"},
      {"54", "3600", "  ", "A", "4000"},     {"30", "-100", "  ", "A", "4000"},
      {"54", "    ", "  ", "A", kAbandoned}, {"  ", "1600", "A ", kAbandoned, kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::RaceNumber, "11"},
                      {ex::GradeCode, "A"},
                      {ex::TrackCode, c.track},
                      {ex::Distance, c.distance},
                      {ex::CourseDivision, c.division}})});
    EXPECT_EQ(f.Code(Factor21, 1), c.item21) << c.track;
    EXPECT_EQ(f.Code(Factor22, 1), c.item22) << c.track << "/" << c.distance;
  }
}

TEST(Factor23, CaseTable) {
  std::string sire = MakeRecord(402, {{parent_stat::ParentBreedingNumber, "1000000001"}});
  const std::pair<int, std::string_view> rates[] = {{20, "048000"}, {21, "000000"}, {22, "020000"},
                                                    {23, "012000"}, {24, "028000"}, {25, "100000"},
                                                    {7, "016000"}};
  for (const auto& [line, rate] : rates)
    records::Put(sire, parent_stat::LineTop3Rates.At(line), rate);
  struct Case {
    std::string_view sire, track, distance, code;
  };
  const Case cases[] = {
      {"1000000001", "17", "1600", "19"},  // Int 12 in band 1: 112, remapped
      {"1000000001", "17", "1601", "10"},  // a zero rate in band 2: 20, remapped
      {"1000000001", "22", "2201", "35"},
      {"1000000001", "17", "-001", "35"},
      {"1000000001", "40", "1800", "27"},  // dirt, line 24
      {"1000000001", "23", "1000", "13"},
      {"1000000001", "49", "3000", "39"},  // 325, remapped
      {"1000000001", "54", "3000", "14"},  // jumps: line 7, band 1
      {"1000000001", "50", "1000", "14"},
      {"1000000009", "17", "1600", "10"},  // not in the file
      {"0000000000", "17", "1600", "10"},
      {"1000000001", "17", "    ", kAbandoned},
      {"1000000001", "  ", "1600", kAbandoned},
  };
  ExFixture f;
  f.WriteStats("OPTION1N\\STALLION.dat", {sire});
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::AncestorBlocks_BreedingNumber.In(1), c.sire},
                      {ex::TrackCode, c.track},
                      {ex::Distance, c.distance}})});
    EXPECT_EQ(f.Code(Factor23, 1), c.code) << c.track << "/" << c.distance;
  }
}

TEST(Factor19To23, MissingStatisticsFilesGiveTheDefaultsAndAMissingFolderFails) {
  ExFixture f({ExRun({{ex::TrainerCode, "00001"},
                      {ex::AncestorBlocks_BreedingNumber.In(1), "1000000001"},
                      {ex::TrackCode, "17"},
                      {ex::Distance, "1600"}})});
  EXPECT_EQ(f.Code(Factor19, 1), "10");
  EXPECT_EQ(f.Code(Factor20, 1), "0");
  EXPECT_EQ(f.Code(Factor23, 1), "10");
  EXPECT_TRUE(std::filesystem::exists(DataPath("CHOKYOSEISEI.dat")));
  f.stats.Clear();
  std::filesystem::remove_all(DataPath("OPTION1N"));
  EXPECT_EQ(f.Code(Factor20, 1), kAbandoned);
  EXPECT_EQ(f.Code(Factor23, 1), kAbandoned);
}

}  // namespace
}  // namespace meridax
