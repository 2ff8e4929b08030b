#include "datasetup/preparation/margin_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"

namespace meridax {
namespace {

using testing::FolderBytes;
using testing::MakeRecord;
using testing::TempDrive;
using testing::WriteFile;
using testing::WriteRecords;

constexpr std::size_t kRunLength = 1341;

std::string ExRun(std::string_view course, std::string_view raceNumber, std::string_view arrival,
                  std::string_view margin) {
  namespace ex = extended_run;
  return MakeRecord(kRunLength, {{ex::RaceYear, "2019"},
                                 {ex::RacecourseCode, course},
                                 {ex::MeetingNumber, "02"},
                                 {ex::MeetingDay, "03"},
                                 {ex::RaceNumber, raceNumber},
                                 {ex::ArrivalOrder, arrival},
                                 {ex::MarginCode, margin}});
}

TEST(MarginTableTest, CollectsExactlyTheRunsWonOnArrival) {
  TempDrive drive;
  const auto ex = drive.data() / "UMAGOTOEXSETUP";
  WriteFile(drive.data() / "KETTONUM20190101Q.dat",
            "\"2016100001\"\r\n\"2016100002\"\r\n\"2016100003\"\r\n");
  WriteRecords(ex / "2016100001EX.dat",
               {ExRun("06", "11", "01", "A  "), ExRun("05", "01", " 1", "B  "),
                ExRun("05", "02", "1 ", "C  "), ExRun("09", "12", "01", "   ")});
  // No extended run file for 2016100002. 2016100003 won the same race as 2016100001.
  WriteRecords(ex / "2016100003EX.dat",
               {ExRun("06", "11", "01", "D  "), ExRun("06", "12", "02", "E  ")});
  MainWindowState state;
  const WinnerMarginTable table = BuildWinnerMarginTable(state);
  EXPECT_EQ(table.rows, (std::vector<WinnerMarginRow>{{"201906020311", "01", "A  "},
                                                      {"201909020312", "01", "   "},
                                                      {"201906020311", "01", "D  "}}));
  EXPECT_EQ(table.skippedIds, 0);
  EXPECT_EQ(state.recordCount, 2);  // the last file's count
  EXPECT_TRUE(FileExists(ex / "2016100002EX.dat"));
  EXPECT_EQ(FileLength(ex / "2016100002EX.dat"), 0u);
}

TEST(MarginTableTest, StepChangesOnlyTheRecordCountAndCreatesMissingRunFiles) {
  TempDrive drive;
  const auto ex = drive.data() / "UMAGOTOEXSETUP";
  WriteFile(drive.data() / "KETTONUM20190101Q.dat", "\"2016100001\"\r\n\"2016100002\"\r\n");
  WriteRecords(ex / "2016100002EX.dat", {ExRun("06", "11", "01", "A  ")});
  const auto before = FolderBytes(drive.root());
  MainWindowSteps steps;
  RecordingHost host;
  host.SetStatus("RA 終わり  4");
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command13", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "RA 終わり  4");
  EXPECT_EQ(steps.state().recordCount, 1);
  auto after = FolderBytes(drive.root());
  EXPECT_EQ(after["MERIDAXPROJECT/UMAGOTOEXSETUP/2016100001EX.dat"], "");
  after.erase("MERIDAXPROJECT/UMAGOTOEXSETUP/2016100001EX.dat");
  EXPECT_EQ(after, before);
}

TEST(MarginTableTest, MissingListReadsAsEmptyAndLeavesTheRecordCount) {
  TempDrive drive;
  MainWindowSteps steps;
  steps.state().recordCount = 9;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command13", host), StepResult::kOk);
  EXPECT_EQ(steps.state().recordCount, 9);
  EXPECT_FALSE(FileExists(drive.data() / "KETTONUM20190101Q.dat"));
}

TEST(MarginTableTest, MissingFolderIsReportedInsteadOfStoppingTheProgram) {
  TempDrive drive;
  WriteFile(drive.data() / "KETTONUM20190101Q.dat", "\"2016100001\"\r\n");
  std::filesystem::remove(drive.data() / "UMAGOTOEXSETUP");
  MainWindowSteps steps;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command13", host), StepResult::kFailed);
  EXPECT_EQ(host.Status(), "着差 エラー: フォルダがありません " +
                               (drive.data() / "UMAGOTOEXSETUP").string() +
                               " (C:\\MERIDAXPROJECT\\UMAGOTOEXSETUP\\)");
}

TEST(MarginTableTest, IdsThatCannotNameAFileAreSkippedWithANote) {
  TempDrive drive;
  const auto ex = drive.data() / "UMAGOTOEXSETUP";
  WriteFile(drive.data() / "KETTONUM20190101Q.dat", "\"..\\..\\x\"\r\n\"2016100001\"\r\n");
  WriteRecords(ex / "2016100001EX.dat", {ExRun("06", "11", "01", "A  ")});
  MainWindowSteps steps;
  RecordingHost host;
  host.SetStatus("before");
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command13", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "before (ファイル名にできないID 1件を飛ばしました)");
  MainWindowState state;
  EXPECT_EQ(BuildWinnerMarginTable(state).rows.size(), 1u);
}

}  // namespace
}  // namespace meridax
