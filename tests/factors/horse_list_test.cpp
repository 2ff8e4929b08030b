#include <gtest/gtest.h>

#include <map>

#include "datasetup/factors/category_courses.h"
#include "datasetup/factors/category_steps.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/headless_windows.h"
#include "tests/factors/category_fixtures.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::ExRun;
using testing::ReadFile;
using testing::WriteRuns;

// The id list's one id that names no file, counted by every extraction.
constexpr std::string_view kEnded = "終わり (ファイル名にできないID 1件を飛ばしました)";

std::string ListRun(std::string_view id, std::string_view course, std::string_view track) {
  return ExRun({{ex::HorseId, id}, {ex::RacecourseCode, course}, {ex::TrackCode, track}});
}

// Five horses over the three kinds, listed in the id list's order.
class HorseListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteIdList(
        DataPath("KETTONUM20190101.dat"),
        {"2016100001", "2015100002", "2016100003", "2017100004", "2018100005", "..\\2016"});
    // Turf, but first outside the ten racecourses: listed on its second record.
    WriteRuns("2016100001", {ListRun("2016100001", "11", "10"), ListRun("2016100001", "05", "10")});
    // Born in 2015: never listed.
    WriteRuns("2015100002", {ListRun("2015100002", "01", "10"), ListRun("2015100002", "01", "23")});
    // Track 22 is turf, 23 dirt.
    WriteRuns("2016100003", {ListRun("2016100003", "10", "22"), ListRun("2016100003", "01", "23")});
    // Jump on 51 after a blank track, 50, 60 and a code that is no number.
    WriteRuns("2017100004", {ListRun("2017100004", "03", "  "), ListRun("2017100004", "03", "50"),
                             ListRun("2017100004", "03", "60"), ListRun("2017100004", "03", "1A"),
                             ListRun("2017100004", "03", "51")});
    // 2018100005 has no run file: one is created, empty.
    RecordingHost host;
    window.Form_Load(host);
  }

  std::string Extract(int option, std::string period) {
    window.option = option;
    window.text1 = std::move(period);
    RecordingHost host;
    EXPECT_EQ(testing::Press(window, "Command1", host), StepResult::kOk);
    EXPECT_EQ(host.Status(), kEnded);
    EXPECT_EQ(window.text1, kEnded);
    return ReadFile(
        DataPath(HorseListFileName(*CourseKindOf(window.state().CourseKind), "201901")));
  }

  testing::TempDrive drive;
  CategorySteps window;
};

TEST_F(HorseListTest, ListsEachHorseOnceOnItsFirstQualifyingRunPerKind) {
  EXPECT_EQ(Extract(1, "201901"), "\"2016100001\"\r\n\"2016100003\"\r\n");
  EXPECT_EQ(window.state().HorseListCount, 2);
  EXPECT_EQ(Extract(2, "201901"), "\"2016100003\"\r\n");
  EXPECT_EQ(Extract(3, "201901"), "\"2017100004\"\r\n");
  EXPECT_TRUE(FileExists(DataPath("UMAGOTOEXSETUP\\2018100005EX.dat")));
  EXPECT_EQ(FileLength(DataPath("UMAGOTOEXSETUP\\2018100005EX.dat")), 0u);
  // No option chosen now: the kind of the last extraction is used again.
  EXPECT_EQ(Extract(0, "201901"), "\"2017100004\"\r\n");
}

TEST_F(HorseListTest, WithoutAnOptionSinceTheWindowOpenedNothingIsWritten) {
  window.option = 0;
  RecordingHost host;
  EXPECT_EQ(testing::Press(window, "Command1", host), StepResult::kOk);
  EXPECT_EQ(window.text1, kEnded);
  for (const auto& entry : std::filesystem::directory_iterator(drive.data())) {
    EXPECT_FALSE(entry.is_regular_file() && entry.path().filename() != "KETTONUM20190101.dat")
        << entry.path();
  }
  // Every run file was still opened.
  EXPECT_TRUE(FileExists(DataPath("UMAGOTOEXSETUP\\2018100005EX.dat")));
}

TEST_F(HorseListTest, ThePeriodNamesTheFileAndAnUnsafeOneWritesNothing) {
  window.option = 1;
  RecordingHost host;
  testing::Press(window, "Command1", host);
  EXPECT_TRUE(FileExists(DataPath("SIBAText1N.dat")));
  // A period in Japanese names its file in UTF-8 on the host, as every name does.
  window.text1 = "期間";
  EXPECT_EQ(testing::Press(window, "Command1", host), StepResult::kOk);
  EXPECT_TRUE(FileExists(DataPath("SIBA期間N.dat")));

  // Besides separators and control bytes: characters that code page 932 lacks (the list
  // would be named with "?" for them) and bytes that are no UTF-8 text.
  for (const std::string& period :
       {std::string("..\\x"), std::string("a/b"), std::string("a\x01", 2), std::string("🐎"),
        std::string("2019🐎01"), std::string("a\xFF")}) {
    window.text1 = period;
    RecordingHost failed;
    EXPECT_EQ(testing::Press(window, "Command1", failed), StepResult::kFailed);
    EXPECT_EQ(failed.Status().rfind("抽出 エラー: ", 0), 0u) << failed.Status();
    EXPECT_EQ(window.text1, failed.Status());
  }
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(drive.data())) {
    files += entry.is_regular_file();
  }
  EXPECT_EQ(files, 3u);  // the id list and the two lists written
  EXPECT_FALSE(FileExists(drive.root() / "x"));
}

// The regular files of the data folder and their bytes.
std::map<std::string, std::string> DataFiles(const testing::TempDrive& drive) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(drive.data())) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadFile(entry.path());
  }
  return files;
}

TEST_F(HorseListTest, APeriodThatIsStillAStepsStatusIsRefusedOneTypedIsTaken) {
  WindowRegistry windows;
  windows.Add(kCategoryWindow);
  RecordingHost host;
  HeadlessWindows session(windows, host);
  const auto run = [&](std::string_view step) {
    return session.Run("FormCATEGORYSETUP2025ZP." + std::string(step));
  };
  using enum HeadlessWindows::Outcome;
  ASSERT_EQ(run("Option1"), kOk);
  ASSERT_EQ(run("Text1=201901"), kOk);
  ASSERT_EQ(run("Command1_Click"), kOk);
  ASSERT_EQ(host.Status(), kEnded);
  const auto written = DataFiles(drive);

  // Text1 shows "終わり" now, the status of the step, then its own refusal, then the turf
  // factor step's "芝終わり": none of them is a period.
  ASSERT_EQ(run("Option2"), kOk);
  for (int click = 0; click < 2; ++click) {
    EXPECT_EQ(run("Command1_Click"), kFailed);
    EXPECT_EQ(host.Status().rfind("抽出 エラー: 期間を入力してください", 0), 0u) << host.Status();
  }
  EXPECT_EQ(DataFiles(drive), written);
  ASSERT_EQ(run("Command2_Click"), kOk);
  ASSERT_EQ(host.Status(), "芝終わり");
  const auto factored = DataFiles(drive);
  EXPECT_EQ(run("Command1_Click"), kFailed);
  EXPECT_EQ(DataFiles(drive), factored);

  // The same words typed are the operator's period.
  ASSERT_EQ(run("Text1=終わり"), kOk);
  EXPECT_EQ(run("Command1_Click"), kOk);
  EXPECT_EQ(ReadFile(DataPath("DIRT終わりN.dat")), "\"2016100003\"\r\n");
}

}  // namespace
}  // namespace meridax
