#include <gtest/gtest.h>

#include <chrono>
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
constexpr std::string_view kAbandoned = testing::kAbandoned;

// A run `days` after 2019-01-01 at a racecourse, normal unless `abnormal` says otherwise.
std::string RestRun(int days, std::string_view course = "05", std::string_view abnormal = "0") {
  using namespace std::chrono;
  const year_month_day d{sys_days{2019y / January / 1} + std::chrono::days{days}};
  const std::string year = std::to_string(static_cast<int>(d.year()));
  const std::string monthDay = FixedDigits(static_cast<unsigned>(d.month()), 2) +
                               FixedDigits(static_cast<unsigned>(d.day()), 2);
  return ExRun({{ex::RaceYear, year},
                {ex::RaceMonthDay, monthDay},
                {ex::RacecourseCode, course},
                {ex::AbnormalityCode, abnormal}});
}

TEST(Factor14, CaseTable) {
  struct Case {
    std::vector<std::string> runs;
    std::int32_t r;
    std::string_view code;
  };
  const Case cases[] = {
      // A first run.
      {{RestRun(0)}, 1, "21020"},
      // Weeks round to the nearest: 3 days none, 4 days one, 11 days two ("1020" as 0).
      {{RestRun(0), RestRun(3)}, 2, "21020"},
      {{RestRun(0), RestRun(4)}, 2, "21010"},
      {{RestRun(0), RestRun(10)}, 2, "21010"},
      {{RestRun(0), RestRun(11)}, 2, "21020"},
      // Long rests: 26 weeks stay, 27 to 51 become 27, 52 to 78 become 52, then 78.
      {{RestRun(0), RestRun(26 * 7)}, 2, "21260"},
      {{RestRun(0), RestRun(51 * 7)}, 2, "21270"},
      {{RestRun(0), RestRun(52 * 7)}, 2, "21520"},
      {{RestRun(0), RestRun(79 * 7)}, 2, "21780"},
      // A date before the previous run wraps through the last four digits: 9997 days.
      {{RestRun(10), RestRun(7)}, 2, "21780"},
      // For runs 2 and 3 the flag is "2" even at the same racecourse.
      {{RestRun(0), RestRun(7), RestRun(56)}, 3, "21070"},
      // From run 4: seven weeks after the previous valid run, same or other racecourse.
      {{RestRun(0), RestRun(7), RestRun(14), RestRun(63)}, 4, "11070"},
      {{RestRun(0), RestRun(7), RestRun(14), RestRun(63, "06")}, 4, "21070"},
      // One week after a run whose own rest was 30 weeks.
      {{RestRun(0), RestRun(7), RestRun(217, "06"), RestRun(224)}, 4, "21280"},
      {{RestRun(0), RestRun(7), RestRun(217, "06"), RestRun(224, "06")}, 4, "11280"},
      // One week, an earlier rest under 27 weeks, the one before it 30 weeks: "21340" is
      // written "21040"; at the same racecourse the code stays.
      {{RestRun(0), RestRun(210), RestRun(217), RestRun(224, "06")}, 4, "21040"},
      {{RestRun(0), RestRun(210), RestRun(217), RestRun(224)}, 4, "11340"},
      // Run 3 abnormal: W1 from run 2 (two weeks), W2 = 0, and run 1 to 2 (30 weeks)
      // classes the third rest.
      {{RestRun(0), RestRun(210), RestRun(217, "05", "1"), RestRun(224)}, 4, "11360"},
      // Rests of 4 weeks and more carry no earlier classes.
      {{RestRun(0), RestRun(210), RestRun(217), RestRun(245)}, 4, "11040"},
      // A run date that is no date.
      {{ExRun({{ex::RacecourseCode, "05"}})}, 1, kAbandoned},
      {{RestRun(0), ExRun({{ex::RaceYear, "2019"}, {ex::RaceMonthDay, "0230"}})}, 2, kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns(c.runs);
    EXPECT_EQ(f.Code(Factor14, c.r), c.code) << c.r << " " << c.code;
  }
}

std::string OddsRun(std::string_view odds, std::string_view abnormal = "0") {
  return ExRun({{ex::WinOdds, odds}, {ex::AbnormalityCode, abnormal}});
}

TEST(Factor15, CaseTable) {
  struct Case {
    std::vector<std::string> runs;
    std::int32_t r;
    std::string_view code;
  };
  const Case cases[] = {
      {{OddsRun("0035")}, 1, "10"},
      {{OddsRun("0035"), OddsRun("0000")}, 2, "15"},
      {{OddsRun("0100"), OddsRun("0000")}, 2, "20"},
      {{OddsRun("0010"), OddsRun("0000")}, 2, "10"},
      {{OddsRun("0009"), OddsRun("0000")}, 2, "9"},
      {{OddsRun("0000"), OddsRun("0035")}, 2, "10"},
      {{OddsRun("    "), OddsRun("0035")}, 2, "10"},
      // Run 1 abnormal: run 2 still reads its odds.
      {{OddsRun("1000", "1"), OddsRun("0000")}, 2, "30"},
      // Run 2 abnormal: run 3 reads run 1.
      {{OddsRun("0100"), OddsRun("1000", "1"), OddsRun("0000")}, 3, "20"},
      {{OddsRun("0100"), OddsRun("1000"), OddsRun("0000")}, 3, "30"},
      // Odds of value 0 that are not "0000": the logarithm fails.
      {{OddsRun("A035"), OddsRun("0000")}, 2, kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns(c.runs);
    EXPECT_EQ(f.Code(Factor15, c.r), c.code) << c.r << " " << c.code;
  }
}

// A parent statistics record whose top-three rate of line k is k steps of 4 per cent, so
// a code's figure names the line it read.
std::string ParentStats(std::string_view number) {
  std::string record = testing::MakeRecord(402, {{parent_stat::ParentBreedingNumber, number}});
  for (int k = 1; k <= 25; ++k) {
    records::Put(record, parent_stat::LineTop3Rates.At(k), FixedDigits(k * 4000, 6));
  }
  return record;
}

std::string GoingRun(std::string_view track, std::string_view turf, std::string_view dirt,
                     std::string_view sire = "1010000001", std::string_view dam = "2010000001") {
  return ExRun({{ex::TrackCode, track},
                {ex::TurfGoingCode, turf},
                {ex::DirtGoingCode, dirt},
                {ex::AncestorBlocks_BreedingNumber.In(1), sire},
                {ex::AncestorBlocks_BreedingNumber.In(2), dam}});
}

TEST(Factor16And17, CaseTable) {
  struct Case {
    std::string run;
    std::string_view sireCode;
    std::string_view damCode;
  };
  const Case cases[] = {
      // Turf goings read lines 8 to 11; "0" and "1" both read line 8 and write "1".
      {GoingRun("17", "0", "3"), "18", "18"},
      {GoingRun("17", "1", "3"), "18", "18"},
      {GoingRun("22", "3", "1"), "310", "110"},
      // Dirt goings (23 to 49) read lines 12 to 15 by the dirt going.
      {GoingRun("23", "1", "3"), "314", "114"},
      {GoingRun("49", "1", "4"), "415", "115"},
      // Jumps read lines 16 to 19 by the turf going.
      {GoingRun("54", "2", "4"), "217", "117"},
      {GoingRun("50", "4", "1"), "419", "119"},
      // A going outside "0" to "4".
      {GoingRun("17", "5", "1"), "10", "10"},
      {GoingRun("17", " ", "1"), "10", "10"},
      // Parents not in the files.
      {GoingRun("17", "1", "1", "1010000009", "2010000009"), "10", "10"},
      // A track code that is not a number fails on the match only.
      {GoingRun("  ", "1", "1"), kAbandoned, kAbandoned},
      {GoingRun("  ", "1", "1", "1010000009", "2010000009"), "10", "10"},
  };
  ExFixture f;
  f.WriteStats("OPTION1N\\STALLION.dat",
               {ParentStats("1010000002"), ParentStats("1010000001"), ParentStats("2010000001")});
  f.WriteStats("OPTION1N\\MARE.dat", {ParentStats("2010000001")});
  for (const auto& c : cases) {
    f.SetRuns({c.run});
    EXPECT_EQ(f.Code(Factor16, 1), c.sireCode) << c.sireCode;
    EXPECT_EQ(f.Code(Factor17, 1), c.damCode) << c.damCode;
  }
}

TEST(Factor16And17, MissingParentsReadNoFileAndMissingFilesGiveTheDefault) {
  ExFixture f({GoingRun("17", "1", "1", "0000000000", "          ")});
  EXPECT_EQ(f.Code(Factor16, 1), "10");
  EXPECT_EQ(f.Code(Factor17, 1), "10");
  EXPECT_FALSE(std::filesystem::exists(DataPath("OPTION1N\\STALLION.dat")));
  EXPECT_FALSE(std::filesystem::exists(DataPath("OPTION1N\\MARE.dat")));
  f.SetRuns({GoingRun("17", "1", "1")});
  EXPECT_EQ(f.Code(Factor16, 1), "10");
  EXPECT_EQ(f.Code(Factor17, 1), "10");
  EXPECT_TRUE(std::filesystem::exists(DataPath("OPTION1N\\MARE.dat")));
}

}  // namespace
}  // namespace meridax
