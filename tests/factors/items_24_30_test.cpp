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

TEST(Factor24And25, CaseTables) {
  struct Case24 {
    std::string_view number, track, code;
  };
  const Case24 cases24[] = {
      {"07", "17", "071"},      {"07", "24", "071"},      {"07", "54", "07"}, {"16", "54", "14"},
      {"14", "25", "14"},       {"15", "25", "14"},       {"-1", "54", "14"}, {"  ", "17", "  1"},
      {"  ", "54", kAbandoned}, {"07", "  ", kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases24) {
    f.SetRuns({ExRun({{ex::HorseNumber, c.number}, {ex::TrackCode, c.track}})});
    EXPECT_EQ(f.Code(Factor24, 1), c.code) << c.number << "/" << c.track;
  }
  struct Case25 {
    std::string_view symbol, month, code;
  };
  const Case25 cases25[] = {{"00", "04", "041"}, {"21", "04", "21"}, {"  ", "04", "  "}};
  for (const auto& c : cases25) {
    f.SetRuns({ExRun({{ex::HorseSymbolCode, c.symbol}, {ex::BirthMonth, c.month}})});
    EXPECT_EQ(f.Code(Factor25, 1), c.code) << c.symbol;
  }
}

std::string BehindRun(std::string_view behind, std::string_view arrival = "05",
                      std::string_view abnormal = "0") {
  return ExRun({{ex::TimeBehindWinner, behind},
                {ex::ArrivalOrder, arrival},
                {ex::MarginCode, "A12"},
                {ex::AbnormalityCode, abnormal}});
}

TEST(Factor26, CaseTable) {
  struct Case {
    std::string_view behind, arrival, code;
  };
  const Case cases[] = {
      {"0000", "01", "0099"}, {"    ", "01", "0099"}, {"+999", "01", "0099"},
      {"-999", "01", "0099"}, {"9999", "01", "0099"}, {"-000", "01", "0001"},
      {"-001", "01", "0002"}, {"-002", "01", "0003"}, {"-003", "01", "0004"},
      {"-004", "01", "0004"}, {"-005", "01", "0005"}, {"-009", "01", "0005"},
      {"-010", "01", "0006"}, {"-012", "01", "0006"}, {"-998", "01", "0006"},
      {"+000", "02", "+A12"}, {"+000", "01", "0007"}, {"+001", "03", "0008"},
      {"+017", "03", "0024"}, {"+029", "03", "0036"}, {"+030", "03", "0037"},
      {"+040", "03", "0047"}, {"+041", "03", "0048"}, {"+050", "03", "0057"},
      {"+051", "03", "0099"}, {"+100", "03", "0099"}, {"+03A", "03", kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns({BehindRun(c.behind, c.arrival), BehindRun("0000")});
    EXPECT_EQ(f.Code(Factor26, 2), c.code) << c.behind;
  }
  // A first run; an abnormal run r - 1 passes the count to run r - 2.
  f.SetRuns({BehindRun("+017")});
  EXPECT_EQ(f.Code(Factor26, 1), "0099");
  f.SetRuns({BehindRun("+017"), BehindRun("-012", "01", "1"), BehindRun("0000")});
  EXPECT_EQ(f.Code(Factor26, 3), "0024");
}

TEST(Factor27And28, CaseTables) {
  struct Case27 {
    std::string_view meeting, day, track, code;
  };
  const Case27 cases27[] = {
      {"03", "10", "17", "0310"}, {"03", "10", "24", "0310"},     {"03", "10", "54", "0101"},
      {"03", "10", "26", "0101"}, {"03", "11", "26", "0101"},     {"03", "12", "26", "0312"},
      {"03", "11", "-1", "0101"}, {"03", "10", "  ", kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases27) {
    f.SetRuns({ExRun(
        {{ex::MeetingNumber, c.meeting}, {ex::MeetingDay, c.day}, {ex::TrackCode, c.track}})});
    EXPECT_EQ(f.Code(Factor27, 1), c.code) << c.meeting << c.day << "/" << c.track;
  }
  struct Case28 {
    std::string_view entered, track, code;
  };
  const Case28 cases28[] = {
      {"07", "17", "08"}, {"07", "54", "08"}, {"16", "23", "16"}, {"16", "54", "14"},
      {"12", "23", "12"}, {"12", "54", "12"}, {"09", "54", "09"}, {"16", "29", "16"},
      {"16", "30", "14"}, {"16", "  ", "14"},  // a blank track compares below "00"
  };
  for (const auto& c : cases28) {
    f.SetRuns({ExRun({{ex::RegisteredCount, c.entered}, {ex::TrackCode, c.track}})});
    EXPECT_EQ(f.Code(Factor28, 1), c.code) << c.entered << "/" << c.track;
  }
}

std::string HorseStats(std::string_view id, std::string_view flatStarts, std::string_view flatPrize,
                       std::string_view jumpStarts = "000000",
                       std::string_view jumpPrize = "000000000") {
  return MakeRecord(228, {{horse_stat::HorseId, id},
                          {horse_stat::JraStarts, flatStarts},
                          {horse_stat::FlatPrizeTotal, flatPrize},
                          {horse_stat::JumpStarts, jumpStarts},
                          {horse_stat::JumpPrizeTotal, jumpPrize}});
}

TEST(Factor30, CaseTable) {
  struct Case {
    std::string_view horse, track;
    std::int32_t r;
    std::string_view code;
  };
  const Case cases[] = {
      {"2016100009", "17", 1, "10"},  // not in the file
      {"0000000000", "17", 1, "10"},
      {"2016100001", "17", 3, "5"},  // no starts: "00" becomes "3", then 5
      {"2016100001", "17", 12, "12"},
      {"2016100001", "17", 25, "19"},
      {"2016100002", "17", 1, "30"},  // a ratio of 1000: Int(30) + 100
      {"2016100002", "49", 1, "30"},
      {"2016100002", "51", 1, "50"},  // jumps: 1000000 over 10
      {"2016100003", "17", 1, "53"},  // a ratio of 0.5 wraps to 96, capped
      {"2016100004", "17", 4, "5"},   // no prize: "00", the run number, then 5
      {"2016100004", "17", 9, "9"},
      {"2016100005", "17", 1, "53"},  // 10^7: Int(70) + 100 gives "70"
      {"2016100002", "  ", 1, kAbandoned},
  };
  ExFixture f;
  f.WriteStats("OPTION1N\\KYOSOBA.dat",
               {HorseStats("2016100001", "000000", "000100000"),
                HorseStats("2016100002", "000010", "000010000", "000010", "001000000"),
                HorseStats("2016100003", "000010", "000000005"),
                HorseStats("2016100004", "000010", "000000000"),
                HorseStats("2016100005", "000001", "010000000")});
  for (const auto& c : cases) {
    std::vector<std::string> runs(static_cast<std::size_t>(c.r),
                                  ExRun({{ex::HorseId, c.horse}, {ex::TrackCode, c.track}}));
    f.SetRuns(runs);
    EXPECT_EQ(f.Code(Factor30, c.r), c.code) << c.horse << "/" << c.track << "/" << c.r;
  }
}

TEST(Factor30, AMissingFileGivesTheDefaultAndAMissingFolderFails) {
  ExFixture f({ExRun({{ex::HorseId, "0000000000"}, {ex::TrackCode, "17"}})});
  EXPECT_EQ(f.Code(Factor30, 1), "10");
  EXPECT_FALSE(std::filesystem::exists(DataPath("OPTION1N\\KYOSOBA.dat")));
  f.SetRuns({ExRun({{ex::HorseId, "2016100001"}, {ex::TrackCode, "17"}})});
  EXPECT_EQ(f.Code(Factor30, 1), "10");
  EXPECT_TRUE(std::filesystem::exists(DataPath("OPTION1N\\KYOSOBA.dat")));
  f.stats.Clear();
  std::filesystem::remove_all(DataPath("OPTION1N"));
  EXPECT_EQ(f.Code(Factor30, 1), kAbandoned);
}

}  // namespace
}  // namespace meridax
