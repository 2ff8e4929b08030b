#include <gtest/gtest.h>

#include <map>
#include <random>

#include "datasetup/preparation/main_window_steps.h"
#include "datasetup/register_windows.h"
#include "platform/file_ops.h"
#include "platform/headless_windows.h"
#include "records/race_layouts.h"
#include "tests/support/literal_upsert.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"

namespace meridax {
namespace {

using testing::FolderBytes;
using testing::MakeRecord;
using testing::ReadRecords;
using testing::TempDrive;
using testing::WriteFile;
using testing::WriteIdList;
using testing::WriteRecords;

constexpr std::size_t kRunnerLength = 555;

struct Ride {
  std::string_view horse;
  std::string_view jockey;
  std::string_view monthDay = "0105";
  std::string_view course = "06";
  std::string_view created = "20190110";
  std::string_view race = "11";
  std::string_view horseNumber = "03";
  std::string_view tag = "";
};

std::string Runner(const Ride& r) {
  namespace se = records::se;
  return MakeRecord(kRunnerLength, {{se::RecordSpec, "SE"},
                                    {se::DataCategory, "7"},
                                    {se::CreatedDate, r.created},
                                    {se::RaceYear, "2019"},
                                    {se::RaceMonthDay, r.monthDay},
                                    {se::RacecourseCode, r.course},
                                    {se::RaceNumber, r.race},
                                    {se::HorseNumber, r.horseNumber},
                                    {se::HorseId, r.horse},
                                    {se::JockeyCode, r.jockey},
                                    {se::HorseName, r.tag}});
}

TEST(RaceFileStepsTest, HorseFilesHoldTheRunsOfListedHorses) {
  TempDrive drive;
  const std::vector<std::string> runners = {
      Runner({.horse = "2016100001", .jockey = "00001", .monthDay = "0105"}),
      Runner({.horse = "2016100002", .jockey = "00001", .monthDay = "0105"}),
      Runner({.horse = "2016100001", .jockey = "00002", .monthDay = "0203"}),
      Runner({.horse = "2016100003", .jockey = "00002", .monthDay = "0203"}),
  };
  WriteRecords(drive.data() / "SE20190101NEW.dat", runners);
  // Listed twice, listed without runs, not listed; one unsafe id.
  WriteIdList(drive.data() / "KETTONUM20190101.dat",
              {"2016100001", "2016100009", "2016100001", "..\\x", "2016100002"});
  WriteFile(drive.data() / "UMAGOTOSETUP" / "2016100009.dat", runners[0]);
  MainWindowSteps steps;
  steps.state().recordCount = 42;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command6", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "SE/UM 終わり  4 (ファイル名にできないID 1件を飛ばしました)");
  EXPECT_EQ(steps.state().recordCount, 42);
  const auto files = FolderBytes(drive.data() / "UMAGOTOSETUP");
  EXPECT_EQ(files, (std::map<std::string, std::string>{{"2016100001.dat", runners[0] + runners[2]},
                                                       {"2016100002.dat", runners[1]},
                                                       {"2016100009.dat", ""}}));
  EXPECT_EQ(host.eventPumps(), 5 + 4);
}

TEST(RaceFileStepsTest, JockeyRidesAtTwoCoursesWithOneIdentityCollapse) {
  TempDrive drive;
  // Same day, race and horse numbers, two racecourses: one identity in the jockey's file.
  const std::string first = Runner({.horse = "2016100001", .jockey = "00001", .course = "06"});
  const std::string second = Runner({.horse = "2016100002", .jockey = "00001", .course = "09"});
  // A later record created earlier than the stored one is appended.
  const std::string stored =
      Runner({.horse = "2016100003", .jockey = "00002", .course = "06", .created = "20190110"});
  const std::string older =
      Runner({.horse = "2016100004", .jockey = "00002", .course = "09", .created = "20190101"});
  WriteRecords(drive.data() / "SE20190101NEW.dat", {first, second, stored, older});
  WriteIdList(drive.data() / "KISHUNUM20190101.dat", {"00002", "00001"});
  MainWindowSteps steps;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command15", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "SE/KS 終わり  4");
  EXPECT_EQ(
      FolderBytes(drive.data() / "KISHUGOTOSETUP"),
      (std::map<std::string, std::string>{{"00001.dat", second}, {"00002.dat", stored + older}}));
}

TEST(RaceFileStepsTest, EmptyRunnerFileAndMissingFolder) {
  {
    TempDrive drive;
    WriteIdList(drive.data() / "KETTONUM20190101.dat", {"2016100001"});
    MainWindowSteps steps;
    RecordingHost host;
    EXPECT_EQ(testing::Click(kMainWindow, steps, "Command6", host), StepResult::kOk);
    EXPECT_EQ(host.Status(), "SE/UM 終わり  0");
    EXPECT_EQ(FileLength(drive.data() / "UMAGOTOSETUP" / "2016100001.dat"), 0u);
  }
  {
    TempDrive drive;
    WriteIdList(drive.data() / "KISHUNUM20190101.dat", {"00001"});
    std::filesystem::remove(drive.data() / "KISHUGOTOSETUP");
    MainWindowSteps steps;
    RecordingHost host;
    EXPECT_EQ(testing::Click(kMainWindow, steps, "Command15", host), StepResult::kFailed);
    EXPECT_EQ(host.Status(), "SE/KS エラー: フォルダがありません " +
                                 (drive.data() / "KISHUGOTOSETUP").string() +
                                 " (C:\\MERIDAXPROJECT\\KISHUGOTOSETUP\\)");
  }
}

TEST(RaceFileStepsTest, StepsAreRegisteredForTheHeadlessRunner) {
  WindowRegistry windows;
  RegisterDatasetupWindows(windows);
  RecordingHost host;
  HeadlessWindows registry(windows, host);
  for (const char* n : {"Command6", "Command12", "Command14", "Command15"}) {
    EXPECT_TRUE(registry.Known("FormMERIDAXPROJECTSETUP2025ZZ." + std::string(n) + "_Click")) << n;
  }
}

// Generated runners with repeated list entries, runs that share a jockey identity and
// dates out of order, through both steps and through the literal algorithm.
TEST(RaceFileStepsTest, BothStepsMatchTheLiteralAlgorithm) {
  namespace se = records::se;
  std::mt19937 rng(7);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const char* const dates[] = {"20190110", "20190105", "20190120", "2019011 ", "20190110"};
  std::vector<std::string> runners;
  for (int day = 1; day <= 12; ++day) {
    for (int i = 0; i < 30; ++i) {
      const std::string horse = "20161000" + std::to_string(10 + pick(40));
      const std::string jockey = "000" + std::to_string(10 + pick(15));
      const std::string monthDay = "01" + std::to_string(10 + day);
      const std::string course = "0" + std::to_string(1 + pick(3));
      const std::string race = std::to_string(10 + pick(3));
      const std::string number = "0" + std::to_string(1 + pick(4));
      runners.push_back(Runner({.horse = horse,
                                .jockey = jockey,
                                .monthDay = monthDay,
                                .course = course,
                                .created = dates[pick(5)],
                                .race = race,
                                .horseNumber = number,
                                .tag = std::to_string(runners.size())}));
    }
  }
  std::vector<std::string> horses;
  std::vector<std::string> jockeys;
  for (int i = 0; i < 50; ++i) horses.push_back("20161000" + std::to_string(10 + pick(45)));
  for (int i = 0; i < 20; ++i) jockeys.push_back("000" + std::to_string(10 + pick(18)));

  const auto prepare = [&](const TempDrive& drive) {
    WriteRecords(drive.data() / "SE20190101NEW.dat", runners);
    WriteIdList(drive.data() / "KETTONUM20190101.dat", horses);
    WriteIdList(drive.data() / "KISHUNUM20190101.dat", jockeys);
  };
  TempDrive fast;
  prepare(fast);
  MainWindowSteps steps;
  RecordingHost host;
  ASSERT_EQ(testing::Click(kMainWindow, steps, "Command6", host), StepResult::kOk);
  ASSERT_EQ(testing::Click(kMainWindow, steps, "Command15", host), StepResult::kOk);

  TempDrive literal;
  prepare(literal);
  const struct {
    const char* list;
    const char* folder;
    records::FieldRef entity;
  } kinds[] = {{"KETTONUM20190101.dat", "UMAGOTOSETUP", se::HorseId},
               {"KISHUNUM20190101.dat", "KISHUGOTOSETUP", se::JockeyCode}};
  for (const auto& kind : kinds) {
    testing::LiteralUpsertRule rule;
    rule.sourceFile = "C:\\MERIDAXPROJECT\\SE20190101NEW.dat";
    rule.recordLength = kRunnerLength;
    rule.createdDate = se::CreatedDate;
    rule.listFile = std::string("C:\\MERIDAXPROJECT\\") + kind.list;
    rule.folderPrefix = std::string("C:\\MERIDAXPROJECT\\\\") + kind.folder + "\\";
    rule.entityField = kind.entity;
    rule.identityFields = {se::RaceYear, se::RaceMonthDay, se::RaceNumber, se::HorseNumber,
                           kind.entity};
    testing::LiteralUpsert(rule);
  }

  for (const char* folder : {"UMAGOTOSETUP", "KISHUGOTOSETUP"}) {
    const auto expected = FolderBytes(literal.data() / folder);
    EXPECT_EQ(FolderBytes(fast.data() / folder), expected) << folder;
    EXPECT_FALSE(expected.empty());
  }
  // The generated data reaches both branches of the jockey files: some run was replaced.
  std::size_t jockeyRecords = 0;
  for (const auto& [name, bytes] : FolderBytes(literal.data() / "KISHUGOTOSETUP")) {
    jockeyRecords += bytes.size() / kRunnerLength;
  }
  std::size_t listedRides = 0;
  for (const auto& r : runners) {
    const std::string jockey(records::View(r, se::JockeyCode));
    if (std::find(jockeys.begin(), jockeys.end(), jockey) != jockeys.end()) ++listedRides;
  }
  EXPECT_LT(jockeyRecords, listedRides);
}

}  // namespace
}  // namespace meridax
