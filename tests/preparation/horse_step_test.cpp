#include <gtest/gtest.h>

#include "datasetup/common/horse_stat_record.h"
#include "datasetup/preparation/id_lists.h"
#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "records/horse_layouts.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"

namespace meridax {
namespace {

namespace um = records::um;
using testing::MakeRecord;
using testing::ReadFile;
using testing::ReadRecords;
using testing::TempDrive;
using testing::WriteFile;
using testing::WriteRecords;

constexpr std::size_t kHorseLength = 1609;

std::string Horse(std::string_view id, std::string_view category = "1",
                  std::string_view deregistration = "0", std::string_view races = "005") {
  return MakeRecord(kHorseLength, {{um::RecordSpec, "UM"},
                                   {um::DataCategory, category},
                                   {um::HorseId, id},
                                   {um::DeregistrationCode, deregistration},
                                   {um::RegisteredRaceCount, races},
                                   {um::FinishCountsOverall.At(1), "001"},
                                   {um::FinishCountsOverall.At(6), "003"}});
}

TEST(HorseStepTest, CleansListsAndWritesEveryHorsesFiles) {
  TempDrive drive;
  const std::vector<std::string> raw = {
      Horse("2016100003"),
      Horse("2009100001", "2"),              // born before 2010: not listed
      Horse("2010100002", "9", "1", "001"),  // deregistered with races: listed
      Horse("2011100004", "4", "1", "000"),  // deregistered without races: not listed
      Horse("2012100005", "0"),              // category outside the set: not kept
      Horse("2013100006", "3", "0", "000"),
  };
  WriteRecords(drive.data() / "UM20190101.dat", raw);
  // An earlier, larger run left more statistics records than there are horses now.
  WriteFile(drive.data() / "OPTION1N" / "KYOSOBA.dat", std::string(228 * 9, 'x'));
  MainWindowSteps steps;
  RecordingHost host;
  ASSERT_EQ(testing::Click(kMainWindow, steps, "Command3", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "UM 終わり  5");
  EXPECT_EQ(steps.state().recordCount, 5);
  EXPECT_GT(host.eventPumps(), 0);  // the window repaints while horses are left out

  const std::vector<std::string> cleaned = {raw[1], raw[2], raw[3], raw[5], raw[0]};
  EXPECT_EQ(ReadRecords(drive.data() / "UM20190101NEW.dat", kHorseLength), cleaned);
  EXPECT_EQ(ReadFile(drive.data() / "KETTONUM20190101.dat"),
            "\"2010100002\"\r\n\"2013100006\"\r\n\"2016100003\"\r\n");
  EXPECT_EQ(ReadFile(drive.data() / "KETTOMASSHO.dat"),
            "\"2009100001\",\"0005\"\r\n\"2010100002\",\"1001\"\r\n\"2011100004\",\"1000\"\r\n"
            "\"2013100006\",\"0000\"\r\n\"2016100003\",\"0005\"\r\n");

  // Record n of the statistics belongs to cleaned horse n, listed or not; nothing stays
  // past the end.
  const auto stats = ReadRecords(drive.data() / "OPTION1N" / "KYOSOBA.dat", 228);
  ASSERT_EQ(stats.size(), cleaned.size());
  for (std::size_t i = 0; i < cleaned.size(); ++i) {
    const std::string_view id = records::View(cleaned[i], um::HorseId);
    EXPECT_EQ(records::View(stats[i], horse_stat::HorseId), id);
    EXPECT_EQ(records::View(stats[i], horse_stat::OverallTop3Rate), "025000");
    const std::string name = std::string(id) + ".dat";
    const std::string block = ReadFile(drive.data() / "KYOSOBA" / name);
    // Line 27, the overall counts, as stored (blanks are kept).
    EXPECT_NE(block.find("\r\n\"001\",\"   \",\"   \",\"   \",\"   \",\"003\"\r\n"),
              std::string::npos);
    const std::string vector = ReadFile(drive.data() / "KYOSOBAN" / name);
    EXPECT_EQ(std::count(vector.begin(), vector.end(), '\n'), 174);
  }
  EXPECT_FALSE(FileExists(drive.data() / "KYOSOBA" / "2012100005.dat"));

  // A second run rewrites the same bytes.
  const std::string before = ReadFile(drive.data() / "KYOSOBA" / "2016100003.dat");
  ASSERT_EQ(testing::Click(kMainWindow, steps, "Command3", host), StepResult::kOk);
  EXPECT_EQ(ReadFile(drive.data() / "KYOSOBA" / "2016100003.dat"), before);
  EXPECT_EQ(ReadRecords(drive.data() / "OPTION1N" / "KYOSOBA.dat", 228), stats);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.data() / "KYOSOBA"), {}), 5);
}

TEST(HorseStepTest, OnlyTheRecordTheSortPlacesFirstIsConsidered) {
  struct Case {
    const char* name;
    std::vector<std::string> raw;
    std::vector<int> kept;  // raw record numbers
  } cases[] = {
      {"two of one horse: record 2", {Horse("2016100001", "1"), Horse("2016100001", "2")}, {2}},
      {"the first fails, the other would pass",
       {Horse("2016100001"), Horse("2016100001", "0")},
       {}},
      {"first in sorted order outside the set",
       {Horse("2017100001"), Horse("2016100001", "0")},
       {1}},
  };
  for (const auto& c : cases) {
    TempDrive drive;
    WriteRecords(drive.data() / "UM20190101.dat", c.raw);
    MainWindowSteps steps;
    RecordingHost host;
    ASSERT_EQ(testing::Click(kMainWindow, steps, "Command3", host), StepResult::kOk) << c.name;
    std::vector<std::string> expected;
    for (const int k : c.kept) expected.push_back(c.raw[static_cast<std::size_t>(k - 1)]);
    EXPECT_EQ(ReadRecords(drive.data() / "UM20190101NEW.dat", kHorseLength), expected) << c.name;
    EXPECT_EQ(host.Status(), "UM 終わり  " + std::to_string(c.kept.size())) << c.name;
  }
}

TEST(HorseStepTest, EmptyRawFileGivesEmptyFilesAndUnsafeIdsGetNoFiles) {
  TempDrive drive;
  MainWindowSteps steps;
  RecordingHost host;
  ASSERT_EQ(testing::Click(kMainWindow, steps, "Command3", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "UM 終わり  0");
  for (const char* name :
       {"UM20190101NEW.dat", "KETTONUM20190101.dat", "KETTOMASSHO.dat", "OPTION1N/KYOSOBA.dat"}) {
    EXPECT_TRUE(FileExists(drive.data() / name)) << name;
    EXPECT_EQ(FileLength(drive.data() / name), 0u) << name;
  }

  WriteRecords(drive.data() / "UM20190101.dat",
               {Horse("2016\\00001"), Horse("2016..0002"), Horse("          ")});
  ASSERT_EQ(testing::Click(kMainWindow, steps, "Command3", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "UM 終わり  3 (ファイル名にできないID 2件を飛ばしました)");
  EXPECT_EQ(ReadRecords(drive.data() / "OPTION1N" / "KYOSOBA.dat", 228).size(), 3u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.data() / "KYOSOBA"), {}), 1);
  EXPECT_TRUE(FileExists(drive.data() / "KYOSOBAN" / "          .dat"));
}

TEST(HorseStepTest, AFileThatCannotBeReplacedLeavesEveryFileOfTheEarlierRun) {
  TempDrive drive;
  MainWindowSteps steps;
  RecordingHost host;
  WriteRecords(drive.data() / "UM20190101.dat", {Horse("2016100001")});
  ASSERT_EQ(testing::Click(kMainWindow, steps, "Command3", host), StepResult::kOk);
  WriteRecords(drive.data() / "UM20190101.dat", {Horse("2016100001"), Horse("2016100002")});
  const auto earlier = testing::FolderBytes(drive.data());

  // A folder where the statistics file stands: a real rename failure half way through.
  const auto stats = drive.data() / "OPTION1N" / "KYOSOBA.dat";
  std::filesystem::remove(stats);
  std::filesystem::create_directory(stats);
  ASSERT_EQ(testing::Click(kMainWindow, steps, "Command3", host), StepResult::kFailed);
  EXPECT_EQ(host.Status().rfind("UM(競走馬) エラー: 置き換えられません " + stats.string(), 0), 0u)
      << host.Status();
  auto now = testing::FolderBytes(drive.data());
  now.emplace("OPTION1N/KYOSOBA.dat", earlier.at("OPTION1N/KYOSOBA.dat"));
  EXPECT_EQ(now, earlier);
}

TEST(HorseStepTest, StatusNamesTheHorsesBeyondTheRegistrationStatusList) {
  EXPECT_EQ(RegistrationStatusCapNote(0), "");
  EXPECT_EQ(RegistrationStatusCapNote(270000), "");
  EXPECT_EQ(RegistrationStatusCapNote(270003),
            " (KETTOMASSHO.dat は 270000行まで: 3頭を載せていません)");
}

TEST(HorseStepTest, MissingSubFolderIsReportedAndReplacesNothing) {
  TempDrive drive;
  WriteRecords(drive.data() / "UM20190101.dat", {Horse("2016100001")});
  WriteFile(drive.data() / "UM20190101NEW.dat", "earlier");
  std::filesystem::remove(drive.data() / "KYOSOBAN");
  MainWindowSteps steps;
  steps.state().recordCount = 12;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command3", host), StepResult::kFailed);
  EXPECT_EQ(host.Status(), "UM(競走馬) エラー: フォルダがありません " +
                               (drive.data() / "KYOSOBAN").string() +
                               " (C:\\MERIDAXPROJECT\\KYOSOBAN\\)");
  EXPECT_EQ(steps.state().recordCount, 12);
  EXPECT_EQ(ReadFile(drive.data() / "UM20190101NEW.dat"), "earlier");
  EXPECT_FALSE(FileExists(drive.data() / "KETTONUM20190101.dat"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.data() / "KYOSOBA"), {}), 0);
}

}  // namespace
}  // namespace meridax
