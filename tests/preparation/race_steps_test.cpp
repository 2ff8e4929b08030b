#include <gtest/gtest.h>

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
using testing::ReadRecords;
using testing::TempDrive;
using testing::WriteRecords;

constexpr std::size_t kRaceLength = 1272;
constexpr std::size_t kRunnerLength = 555;

std::string Race(std::string_view category, std::string_view courseCode,
                 std::string_view meetingDay = "01", std::string_view name = "") {
  namespace ra = records::ra;
  return MakeRecord(kRaceLength, {{ra::RecordSpec, "RA"},
                                  {ra::DataCategory, category},
                                  {ra::RaceYear, "2019"},
                                  {ra::RaceMonthDay, "0105"},
                                  {ra::RacecourseCode, courseCode},
                                  {ra::MeetingNumber, "01"},
                                  {ra::MeetingDay, meetingDay},
                                  {ra::RaceNumber, "11"},
                                  {ra::RaceName, name}});
}

std::string Runner(std::string_view category, std::string_view courseCode, std::string_view horseId,
                   std::string_view name = "") {
  namespace se = records::se;
  return MakeRecord(kRunnerLength, {{se::RecordSpec, "SE"},
                                    {se::DataCategory, category},
                                    {se::RaceYear, "2019"},
                                    {se::RaceMonthDay, "0105"},
                                    {se::RacecourseCode, courseCode},
                                    {se::RaceNumber, "11"},
                                    {se::HorseNumber, "03"},
                                    {se::HorseId, horseId},
                                    {se::HorseName, name}});
}

TEST(RaceStepsTest, RaceStepKeepsTheFirstOfARunAndShowsTheRawCount) {
  TempDrive drive;
  MainWindowSteps steps;
  RecordingHost host;
  // Same key (the meeting day is not part of it): the sort leaves raw record 2 first.
  const std::vector<std::string> raw = {Race("7", "06", "01", "ONE"), Race("A", "06", "02", "TWO"),
                                        Race("1", "05"), Race("B", "09")};
  WriteRecords(drive.data() / "RA20190101.dat", raw);
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command1", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "RA 終わり  4");
  EXPECT_EQ(steps.state().recordCount, 4);
  EXPECT_EQ(ReadRecords(drive.data() / "RA20190101NEW.dat", kRaceLength),
            (std::vector<std::string>{raw[1], raw[3]}));
}

TEST(RaceStepsTest, RunnerStepKeepsTheLastOfARunIgnoringTheRacecourse) {
  TempDrive drive;
  MainWindowSteps steps;
  RecordingHost host;
  const std::vector<std::string> raw = {Runner("7", "06", "2016104567", "ONE"),
                                        Runner("7", "09", "2016104567", "TWO"),
                                        Runner("7", "06", "2016100001")};
  WriteRecords(drive.data() / "SE20190101.dat", raw);
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command2", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "SE 終わり  3");
  EXPECT_EQ(ReadRecords(drive.data() / "SE20190101NEW.dat", kRunnerLength),
            (std::vector<std::string>{raw[2], raw[0]}));
}

TEST(RaceStepsTest, EmptyRawFileGivesAnEmptyCleanedFile) {
  TempDrive drive;
  MainWindowSteps steps;
  RecordingHost host;
  testing::WriteFile(drive.data() / "RA20190101NEW.dat", "stale");
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command1", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "RA 終わり  0");
  EXPECT_TRUE(FileExists(drive.data() / "RA20190101.dat"));  // opening created it
  EXPECT_EQ(FileLength(drive.data() / "RA20190101NEW.dat"), 0u);
}

TEST(RaceStepsTest, MissingDataFolderIsReportedAndWritesNothing) {
  TempDrive drive(false);
  MainWindowSteps steps;
  steps.state().recordCount = 7;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command2", host), StepResult::kFailed);
  EXPECT_EQ(host.Status(), "SE(詳細) エラー: フォルダがありません " + drive.data().string() +
                               " (C:\\MERIDAXPROJECT\\)");
  EXPECT_EQ(steps.state().recordCount, 7);
  EXPECT_FALSE(FolderExists(drive.data()));
}

TEST(RaceStepsTest, RegisteredStepsShareOneRecordCount) {
  TempDrive drive;
  WindowRegistry windows;
  RegisterDatasetupWindows(windows);
  WriteRecords(drive.data() / "RA20190101.dat", {Race("7", "06"), Race("7", "05")});
  RecordingHost host;
  HeadlessWindows registry(windows, host);
  ASSERT_TRUE(registry.Known("FormMERIDAXPROJECTSETUP2025ZZ.Command1_Click"));
  ASSERT_TRUE(registry.Known("FormMERIDAXPROJECTSETUP2025ZZ.Command2_Click"));
  EXPECT_FALSE(registry.Known("FormMERIDAXPROJECTSETUP2025ZZ.Command16_Click"));
  EXPECT_EQ(registry.Run("FormMERIDAXPROJECTSETUP2025ZZ.Command1_Click"),
            HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(host.Status(), "RA 終わり  2");  // replaced, not appended
  EXPECT_EQ(registry.Run("FormMERIDAXPROJECTSETUP2025ZZ.Command2_Click"),
            HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(host.Status(), "SE 終わり  0");
}

}  // namespace
}  // namespace meridax
