#include <gtest/gtest.h>

#include "datasetup/common/horse_stat_record.h"
#include "datasetup/preparation/main_window_steps.h"
#include "datasetup/register_windows.h"
#include "platform/file_ops.h"
#include "platform/headless_windows.h"
#include "records/race_layouts.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"

namespace meridax {
namespace {

using testing::MakeRecord;
using testing::ReadFile;
using testing::ReadRecords;
using testing::TempDrive;
using testing::WriteFile;
using testing::WriteIdList;
using testing::WriteRecords;

constexpr std::size_t kRunnerLength = 555;
constexpr std::size_t kStatLength = 228;

std::string RunRecord(std::string_view horseId, std::string_view year) {
  namespace se = records::se;
  return MakeRecord(kRunnerLength, {{se::RecordSpec, "SE"},
                                    {se::RaceYear, year},
                                    {se::RaceMonthDay, "0105"},
                                    {se::RacecourseCode, "06"},
                                    {se::HorseId, horseId}});
}

// A race file whose records carry `horseId` and the given race years, in file order.
void WriteRaceFile(const TempDrive& drive, std::string_view name, std::string_view horseId,
                   const std::vector<std::string_view>& years) {
  std::vector<std::string> records;
  for (const auto year : years) records.push_back(RunRecord(horseId, year));
  WriteRecords(drive.data() / "UMAGOTOSETUP" / (std::string(name) + ".dat"), records);
}

std::string StatRecord(std::string_view horseId, std::string_view rate) {
  return MakeRecord(kStatLength,
                    {{horse_stat::HorseId, horseId}, {horse_stat::OverallTop3Rate, rate}});
}

TEST(RecentRunnersTest, ListsHorsesByTheirLastRunWithThatRunsId) {
  TempDrive drive;
  // 2016100001 has no race file; 2016100002 an empty one.
  WriteFile(drive.data() / "UMAGOTOSETUP" / "2016100002.dat", "");
  WriteRaceFile(drive, "2016100003", "2016100003", {"2005", "1999"});
  WriteRaceFile(drive, "2016100004", "2016100004", {"1999", "2000"});
  WriteRaceFile(drive, "2016100005", "2016100005", {"2019", "    "});
  WriteRaceFile(drive, "2016100006", "2016999999", {"2019"});
  WriteIdList(drive.data() / "KETTONUM20190101.dat",
              {"2016100001", "2016100002", "2016100003", "2016100004", "2016100005", "2016100006",
               "..\\x"});
  WriteFile(drive.data() / "KETTONUM20190101Q.dat", "\"stale\"\r\n");
  MainWindowSteps steps;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command8", host), StepResult::kOk);
  EXPECT_EQ(ReadFile(drive.data() / "KETTONUM20190101Q.dat"),
            "\"2016100004\"\r\n\"2016100005\"\r\n\"2016999999\"\r\n");
  EXPECT_EQ(host.eventPumps(), 7);  // once per list entry
  EXPECT_EQ(host.Status(), "終わり  0 (ファイル名にできないID 1件を飛ばしました)");
  EXPECT_EQ(FileLength(drive.data() / "UMAGOTOSETUP" / "2016100001.dat"), 0u);
  EXPECT_TRUE(FileExists(drive.data() / "UMAGOTOSETUP" / "2016100001.dat"));
}

TEST(RecentRunnersTest, CopiesStatisticsInFileOrderOnceForEveryListEntry) {
  TempDrive drive;
  WriteRaceFile(drive, "2016100001", "2016100001", {"2019"});
  WriteRaceFile(drive, "2016100002", "2016100002", {"2019"});
  WriteRaceFile(drive, "2016100003", "2016100003", {"1998"});
  // 2016100002 stands twice in the list and so in the recent list.
  WriteIdList(drive.data() / "KETTONUM20190101.dat",
              {"2016100002", "2016100001", "2016100003", "2016100002"});
  const std::vector<std::string> stats = {
      StatRecord("2016100001", "000001"), StatRecord("2016100003", "000003"),
      StatRecord("2016100002", "000002"), std::string(kStatLength, ' '),
      StatRecord("2016100001", "000011"), StatRecord("201610000", "000009")};
  WriteRecords(drive.data() / "OPTION1N" / "KYOSOBA.dat", stats);
  MainWindowSteps steps;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command8", host), StepResult::kOk);
  EXPECT_EQ(ReadRecords(drive.data() / "OPTION1N" / "KYOSOBAA.dat", kStatLength),
            (std::vector<std::string>{stats[0], stats[2], stats[2], stats[4]}));
  // The count shown is that of KYOSOBA.dat, not of the horses listed or copied.
  EXPECT_EQ(host.Status(), "終わり  6");
  EXPECT_EQ(steps.state().recordCount, 6);
}

TEST(RecentRunnersTest, WithoutAMatchTheCopyIsLeftDeleted) {
  struct Case {
    const char* name;
    bool withList;
  } cases[] = {{"no listed horse has statistics", true}, {"no horse list", false}};
  for (const auto& c : cases) {
    TempDrive drive;
    WriteRaceFile(drive, "2016100001", "2016100001", {"2019"});
    if (c.withList) WriteIdList(drive.data() / "KETTONUM20190101.dat", {"2016100001"});
    WriteRecords(drive.data() / "OPTION1N" / "KYOSOBA.dat", {StatRecord("2016100002", "000001")});
    WriteFile(drive.data() / "OPTION1N" / "KYOSOBAA.dat", std::string(kStatLength, 'x'));
    MainWindowSteps steps;
    RecordingHost host;
    EXPECT_EQ(testing::Click(kMainWindow, steps, "Command8", host), StepResult::kOk) << c.name;
    EXPECT_FALSE(FileExists(drive.data() / "OPTION1N" / "KYOSOBAA.dat")) << c.name;
    EXPECT_EQ(FileLength(drive.data() / "KETTONUM20190101Q.dat"), c.withList ? 14u : 0u) << c.name;
    EXPECT_EQ(host.Status(), "終わり  1") << c.name;
  }
}

TEST(RecentRunnersTest, MissingFolderLeavesEveryFileAsItWas) {
  TempDrive drive;
  WriteRaceFile(drive, "2016100001", "2016100001", {"2019"});
  WriteIdList(drive.data() / "KETTONUM20190101.dat", {"2016100001"});
  WriteFile(drive.data() / "KETTONUM20190101Q.dat", "old");
  WriteFile(drive.data() / "OPTION1N" / "KYOSOBAA.dat", "old");
  WriteFile(drive.data() / "OPTION1N" / "DONICHI.dat", "old");
  std::filesystem::remove(drive.data() / "KISHUFUKUSHO");
  MainWindowSteps steps;
  steps.state().recordCount = 3;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command8", host), StepResult::kFailed);
  EXPECT_EQ(host.Status(), "血統Q、騎手 エラー: フォルダがありません " +
                               (drive.data() / "KISHUFUKUSHO").string() +
                               " (C:\\MERIDAXPROJECT\\KISHUFUKUSHO\\)");
  EXPECT_EQ(steps.state().recordCount, 3);
  EXPECT_EQ(ReadFile(drive.data() / "KETTONUM20190101Q.dat"), "old");
  EXPECT_EQ(ReadFile(drive.data() / "OPTION1N" / "KYOSOBAA.dat"), "old");
  EXPECT_EQ(ReadFile(drive.data() / "OPTION1N" / "DONICHI.dat"), "old");
}

// A small world through the registered steps: three horses and two jockeys with their
// race, statistics and extended run files, "血統Q、騎手" and then "着差".
TEST(RecentRunnersTest, SmallWorldRunsThroughTheRegisteredSteps) {
  namespace se = records::se;
  TempDrive drive;
  const auto ride = [](std::string_view horse, std::string_view jockey, std::string_view date,
                       std::string_view course, std::string_view arrival) {
    return MakeRecord(kRunnerLength, {{se::RecordSpec, "SE"},
                                      {se::DataCategory, "7"},
                                      {se::RaceYear, date.substr(0, 4)},
                                      {se::RaceMonthDay, date.substr(4, 4)},
                                      {se::RacecourseCode, course},
                                      {se::MeetingNumber, "01"},
                                      {se::MeetingDay, "02"},
                                      {se::RaceNumber, "11"},
                                      {se::HorseId, horse},
                                      {se::JockeyCode, jockey},
                                      {se::ArrivalOrder, arrival}});
  };
  const std::vector<std::string> runs = {
      ride("2015100001", "01001", "20190105", "06", "01"),  // Saturday
      ride("2015100002", "01002", "20190105", "06", "02"),
      ride("2015100001", "01002", "20190106", "05", "04"),  // Sunday
      ride("2015100003", "01001", "19990106", "30", "01"),
  };
  const auto data = drive.data();
  WriteRecords(data / "UMAGOTOSETUP" / "2015100001.dat", {runs[0], runs[2]});
  WriteRecords(data / "UMAGOTOSETUP" / "2015100002.dat", {runs[1]});
  WriteRecords(data / "UMAGOTOSETUP" / "2015100003.dat", {runs[3]});
  WriteRecords(data / "KISHUGOTOSETUP" / "01001.dat", {runs[3], runs[0]});
  WriteRecords(data / "KISHUGOTOSETUP" / "01002.dat", {runs[1], runs[2]});
  WriteIdList(data / "KETTONUM20190101.dat", {"2015100001", "2015100002", "2015100003"});
  WriteIdList(data / "KISHUNUM20190101.dat", {"01002", "01001"});
  WriteRecords(data / "OPTION1N" / "KYOSOBA.dat",
               {StatRecord("2015100001", "050000"), StatRecord("2015100002", "000000"),
                StatRecord("2015100003", "100000")});
  // The extended run files copy the runner fields at the same positions.
  WriteRecords(data / "UMAGOTOEXSETUP" / "2015100001EX.dat",
               {runs[0] + std::string(1341 - 555, ' '), runs[2] + std::string(1341 - 555, ' ')});

  WindowRegistry windows;
  RegisterDatasetupWindows(windows);
  RecordingHost host;
  HeadlessWindows registry(windows, host);
  const std::string recent = "FormMERIDAXPROJECTSETUP2025ZZ.Command8_Click";
  const std::string margins = "FormMERIDAXPROJECTSETUP2025ZZ.Command13_Click";
  ASSERT_TRUE(registry.Known(recent));
  ASSERT_TRUE(registry.Known(margins));
  EXPECT_EQ(registry.Run(recent), HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(host.Status(), "終わり  3");
  EXPECT_EQ(ReadFile(data / "KETTONUM20190101Q.dat"), "\"2015100001\"\r\n\"2015100002\"\r\n");
  const auto copies = ReadRecords(data / "OPTION1N" / "KYOSOBAA.dat", kStatLength);
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_EQ(copies[1].substr(0, 10), "2015100002");
  const auto rates = ReadRecords(data / "OPTION1N" / "DONICHI.dat", 127);
  ASSERT_EQ(rates.size(), 2u);
  EXPECT_EQ(rates[0].substr(0, 5), "01002");
  EXPECT_EQ(rates[0].substr(53, 24), "100000000000000000000000");  // 06 Sat, 05 Sun 0 of 1
  EXPECT_EQ(rates[1].substr(53, 6), "100000");
  const std::string places = ReadFile(data / "KISHUFUKUSHO" / "01002.dat");
  EXPECT_EQ(places.substr(0, 9), "1,1,0,0\r\n");
  EXPECT_NE(places.find("5,1,0,0\r\n5,2,0,1\r\n6,1,1,0\r\n6,2,0,0\r\n"), std::string::npos);

  EXPECT_EQ(registry.Run(margins), HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(host.Status(), "終わり  3");
  EXPECT_TRUE(FileExists(data / "UMAGOTOEXSETUP" / "2015100002EX.dat"));
}

}  // namespace
}  // namespace meridax
