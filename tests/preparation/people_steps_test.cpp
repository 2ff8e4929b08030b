#include <gtest/gtest.h>

#include "datasetup/common/people_stat_records.h"
#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "platform/staged_files.h"
#include "records/layouts.h"
#include "tests/support/ended_commit.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"

namespace meridax {
namespace {

using testing::MakeRecord;
using testing::ReadFile;
using testing::ReadRecords;
using testing::TempDrive;
using testing::WriteRecords;

// A person record kind: its length, its code and a name field that tests tag records in.
struct Kind {
  std::size_t length;
  records::FieldRef code;
  records::FieldRef name;
};
constexpr Kind kJockey{4161, records::ks::JockeyCode, records::ks::JockeyName};
constexpr Kind kTrainer{3850, records::ch::TrainerCode, records::ch::TrainerName};
constexpr Kind kBreeder{545, records::br::BreederCode, records::br::BreederName};
constexpr Kind kOwner{477, records::bn::OwnerCode, records::bn::OwnerName};

std::string Rec(const Kind& kind, std::string_view category, std::string_view code,
                std::string_view created, std::string_view tag = "") {
  return MakeRecord(kind.length, {{records::header::DataCategory, category},
                                  {records::header::CreatedDate, created},
                                  {kind.code, code},
                                  {kind.name, tag}});
}

// The codes of the records of a file, in order.
std::vector<std::string> Codes(const std::filesystem::path& path, std::size_t length,
                               records::FieldRef code) {
  std::vector<std::string> codes;
  for (const auto& r : ReadRecords(path, length)) codes.emplace_back(records::View(r, code));
  return codes;
}
std::vector<std::string> Codes(const std::filesystem::path& path, const Kind& kind) {
  return Codes(path, kind.length, kind.code);
}

TEST(JockeyStepTest, KeepsTheNewestRecordOfACodeWhateverTheRawOrder) {
  const std::string a = Rec(kJockey, "1", "00100", "20190101", "A");
  const std::string b = Rec(kJockey, "1", "00100", "20190301", "B");
  const std::string c = Rec(kJockey, "2", "00100", "20190201", "C");
  const std::string newest = Rec(kJockey, "2", "00100", "20190401", "NEWEST");
  const std::vector<std::vector<std::string>> orders = {
      {a, b, c, newest}, {newest, c, b, a}, {b, newest, a, c}, {c, a, newest, b}};
  for (const auto& raw : orders) {
    TempDrive drive;
    WriteRecords(drive.data() / "KS20190101.dat", raw);
    MainWindowSteps steps;
    RecordingHost host;
    EXPECT_EQ(testing::Click(kMainWindow, steps, "Command12", host), StepResult::kOk);
    EXPECT_EQ(ReadRecords(drive.data() / "KS20190101NEW.dat", kJockey.length),
              std::vector<std::string>{newest});
    EXPECT_EQ(host.Status(), "KS(騎手） 終わり  1");
    EXPECT_EQ(steps.state().recordCount, 1);
  }
}

TEST(JockeyStepTest, ACodeWhoseNewestRecordIsDroppedIsLeftOutEverywhere) {
  TempDrive drive;
  WriteRecords(drive.data() / "KS20190101.dat",
               {Rec(kJockey, "1", "00100", "20190101"), Rec(kJockey, "0", "00100", "20190301"),
                Rec(kJockey, "1", "00200", "20190101")});
  MainWindowSteps steps;
  RecordingHost host;
  testing::Click(kMainWindow, steps, "Command12", host);
  EXPECT_EQ(Codes(drive.data() / "KS20190101NEW.dat", kJockey), std::vector<std::string>{"00200"});
  EXPECT_EQ(ReadFile(drive.data() / "KISHUNUM20190101.dat"), "\"00200\"\r\n");
  EXPECT_EQ(Codes(drive.data() / "KISHUSEISEI.dat", 121, person_stat::PersonCode),
            std::vector<std::string>{"00200"});
}

TEST(JockeyStepTest, ListAndStatisticsFollowTheCleanedFileInDescendingCodes) {
  TempDrive drive;
  std::vector<std::string> raw;
  std::vector<std::string> expected;
  for (int i = 0; i < 240; ++i) {
    const std::string code = std::to_string(10000 + (i * 7919) % 240);
    raw.push_back(Rec(kJockey, "1", code, "20190601"));
    if (i < 10) raw.push_back(Rec(kJockey, "1", code, "20180101"));  // older duplicates
    expected.push_back(code);
  }
  std::sort(expected.rbegin(), expected.rend());
  WriteRecords(drive.data() / "KS20190101.dat", raw);
  MainWindowSteps steps;
  RecordingHost host;
  testing::Click(kMainWindow, steps, "Command12", host);
  EXPECT_EQ(raw.size(), 250u);
  EXPECT_EQ(host.Status(), "KS(騎手） 終わり  240");
  EXPECT_EQ(Codes(drive.data() / "KS20190101NEW.dat", kJockey), expected);
  EXPECT_EQ(Codes(drive.data() / "KISHUSEISEI.dat", 121, person_stat::PersonCode), expected);
  std::string list;
  for (const auto& code : expected) list += "\"" + code + "\"\r\n";
  EXPECT_EQ(ReadFile(drive.data() / "KISHUNUM20190101.dat"), list);
  // Each statistics record is the one its cleaned jockey gives.
  const auto cleaned = ReadRecords(drive.data() / "KS20190101NEW.dat", kJockey.length);
  const auto stats = ReadRecords(drive.data() / "KISHUSEISEI.dat", 121);
  ASSERT_EQ(stats.size(), cleaned.size());
  for (std::size_t k = 0; k < stats.size(); ++k) {
    EXPECT_EQ(stats[k], BuildPersonStatRecord(cleaned[k], kJockeyStatSources));
  }
}

TEST(JockeyStepTest, EmptyInputLeavesNoStatisticsFile) {
  TempDrive drive;
  testing::WriteFile(drive.data() / "KISHUSEISEI.dat", std::string(121, 'x'));
  testing::WriteFile(drive.data() / "KISHUNUM20190101.dat", "\"99999\"\r\n");
  MainWindowSteps steps;
  steps.state().recordCount = 5;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command12", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "KS(騎手） 終わり  0");
  EXPECT_EQ(steps.state().recordCount, 0);
  EXPECT_TRUE(FileExists(drive.data() / "KS20190101.dat"));
  EXPECT_EQ(FileLength(drive.data() / "KS20190101NEW.dat"), 0u);
  EXPECT_EQ(FileLength(drive.data() / "KISHUNUM20190101.dat"), 0u);
  EXPECT_FALSE(FileExists(drive.data() / "KISHUSEISEI.dat"));
}

// The statistics file goes in the step's commit: ended at any of its operations, the step
// leaves its files all as the next start completes them, never the statistics file behind.
TEST(JockeyStepTest, TheStatisticsFileGoesInTheSameCommitAsTheOtherFiles) {
  for (const std::size_t at : {0u, 1u, 2u}) {
    SCOPED_TRACE(at);
    TempDrive drive;
    testing::WriteFile(drive.data() / "KISHUSEISEI.dat", std::string(121, 'x'));
    testing::WriteFile(drive.data() / "KISHUNUM20190101.dat", "\"99999\"\r\n");
    ASSERT_TRUE(testing::EndProcessDuringCommit(
        [] {
          MainWindowSteps steps;
          RecordingHost host;
          testing::Click(kMainWindow, steps, "Command12", host);
        },
        StagedFiles::Operation::kReplace, at));
    CompleteInterruptedCommits();
    EXPECT_EQ(FileLength(drive.data() / "KS20190101NEW.dat"), 0u);
    EXPECT_EQ(FileLength(drive.data() / "KISHUNUM20190101.dat"), 0u);
    EXPECT_FALSE(FileExists(drive.data() / "KISHUSEISEI.dat"));
  }
}

TEST(TrainerBreederOwnerStepTest, EachKindKeepsTheNewestRecordOfItsCode) {
  TempDrive drive;
  WriteRecords(
      drive.data() / "CH20190101.dat",
      {Rec(kTrainer, "1", "01000", "20190101", "OLD"),
       Rec(kTrainer, "2", "01000", "20190201", "NEW"), Rec(kTrainer, "1", "02000", "20190101"),
       Rec(kTrainer, "9", "02000", "20190202"), Rec(kTrainer, "1", "00500", "20190101")});
  // Two breeder codes agreeing in their first six bytes are one breeder: the newest record
  // of the greater code. Breeders and owners keep every data category.
  WriteRecords(drive.data() / "BR20190101.dat",
               {Rec(kBreeder, "1", "12345601", "20190501", "LOWER"),
                Rec(kBreeder, "1", "12345699", "20190101", "GREATER"),
                Rec(kBreeder, "9", "12345699", "20190102", "GREATER-NEW"),
                Rec(kBreeder, "0", "00000001", "20190101")});
  WriteRecords(drive.data() / "BN20190101.dat",
               {Rec(kOwner, "1", "000002", "20190101"), Rec(kOwner, "3", "000009", "20190101"),
                Rec(kOwner, "1", "000002", "20190102", "NEW")});
  MainWindowSteps steps;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command14", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "CH(調教師） 終わり  2");
  EXPECT_EQ(steps.state().recordCount, 2);

  const auto trainers = ReadRecords(drive.data() / "CH20190101NEW.dat", kTrainer.length);
  ASSERT_EQ(trainers.size(), 2u);
  EXPECT_EQ(records::View(trainers[0], records::ch::TrainerCode), "01000");
  EXPECT_EQ(records::View(trainers[0], records::ch::TrainerName).substr(0, 3), "NEW");
  EXPECT_EQ(records::View(trainers[1], records::ch::TrainerCode), "00500");
  EXPECT_EQ(Codes(drive.data() / "CHOKYOSEISEI.dat", 121, person_stat::PersonCode),
            (std::vector<std::string>{"01000", "00500"}));

  const auto breeders = ReadRecords(drive.data() / "BR20190101NEW.dat", kBreeder.length);
  ASSERT_EQ(breeders.size(), 2u);
  EXPECT_EQ(records::View(breeders[0], records::br::BreederName).substr(0, 11), "GREATER-NEW");
  EXPECT_EQ(records::View(breeders[1], records::br::BreederCode), "00000001");
  EXPECT_EQ(Codes(drive.data() / "BREEDERSEISEI.dat", 35, breeder_owner_stat::BreederOwnerCode),
            (std::vector<std::string>{"123456", "000000"}));

  const auto owners = ReadRecords(drive.data() / "BN20190101NEW.dat", kOwner.length);
  ASSERT_EQ(owners.size(), 2u);
  EXPECT_EQ(records::View(owners[0], records::bn::OwnerCode), "000009");
  EXPECT_EQ(records::View(owners[1], records::bn::OwnerName).substr(0, 3), "NEW");
  const auto ownerStats = ReadRecords(drive.data() / "BANUSISEISEI.dat", 35);
  ASSERT_EQ(ownerStats.size(), 2u);
  EXPECT_EQ(ownerStats[1], BuildBreederOwnerStatRecord(owners[1], kOwnerStatSources));
}

TEST(TrainerBreederOwnerStepTest, CleanedFilesHoldOnlyThisRunsRecords) {
  TempDrive drive;
  // An earlier, larger run's files: nothing of them may survive past the new end.
  WriteRecords(drive.data() / "BR20190101NEW.dat", {Rec(kBreeder, "1", "90000000", "20180101"),
                                                    Rec(kBreeder, "1", "80000000", "20180101"),
                                                    Rec(kBreeder, "1", "70000000", "20180101")});
  WriteRecords(drive.data() / "BN20190101NEW.dat",
               {Rec(kOwner, "1", "900000", "20180101"), Rec(kOwner, "1", "800000", "20180101")});
  WriteRecords(drive.data() / "BR20190101.dat", {Rec(kBreeder, "1", "00000001", "20190101")});
  WriteRecords(drive.data() / "BN20190101.dat", {Rec(kOwner, "1", "000001", "20190101")});
  MainWindowSteps steps;
  RecordingHost host;
  testing::Click(kMainWindow, steps, "Command14", host);
  EXPECT_EQ(host.Status(), "CH(調教師） 終わり  1");
  EXPECT_EQ(Codes(drive.data() / "BR20190101NEW.dat", kBreeder),
            std::vector<std::string>{"00000001"});
  EXPECT_EQ(FileLength(drive.data() / "BREEDERSEISEI.dat"), 35u);
  EXPECT_EQ(Codes(drive.data() / "BN20190101NEW.dat", kOwner), std::vector<std::string>{"000001"});
  EXPECT_EQ(FileLength(drive.data() / "BANUSISEISEI.dat"), 35u);
}

TEST(TrainerBreederOwnerStepTest, EmptyInputsAndWhichFilesThenExist) {
  TempDrive drive;
  testing::WriteFile(drive.data() / "CHOKYOSEISEI.dat", std::string(121, 'x'));
  testing::WriteFile(drive.data() / "BREEDERSEISEI.dat", std::string(35, 'x'));
  MainWindowSteps steps;
  steps.state().recordCount = 9;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command14", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "CH(調教師） 終わり  0");
  EXPECT_EQ(steps.state().recordCount, 0);
  for (const char* name : {"CH20190101NEW.dat", "BR20190101NEW.dat", "BN20190101NEW.dat",
                           "BREEDERSEISEI.dat", "BANUSISEISEI.dat"}) {
    EXPECT_TRUE(FileExists(drive.data() / name)) << name;
    EXPECT_EQ(FileLength(drive.data() / name), 0u) << name;
  }
  EXPECT_FALSE(FileExists(drive.data() / "CHOKYOSEISEI.dat"));
}

TEST(TrainerBreederOwnerStepTest, MissingDataFolderIsReportedAndChangesNothing) {
  for (const bool jockeys : {true, false}) {
    TempDrive drive(false);
    MainWindowSteps steps;
    steps.state().recordCount = 7;
    RecordingHost host;
    EXPECT_EQ(jockeys ? testing::Click(kMainWindow, steps, "Command12", host)
                      : testing::Click(kMainWindow, steps, "Command14", host),
              StepResult::kFailed);
    EXPECT_EQ(host.Status(), std::string(jockeys ? "KS(騎手）" : "CH/BR/BN") +
                                 " エラー: フォルダがありません " + drive.data().string() +
                                 " (C:\\MERIDAXPROJECT\\)");
    EXPECT_EQ(steps.state().recordCount, 7);
    EXPECT_FALSE(FolderExists(drive.data()));
  }
}

}  // namespace
}  // namespace meridax
