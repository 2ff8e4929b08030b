// A small generated world, hazards included, through the people and race-file steps.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "datasetup/common/people_stat_records.h"
#include "datasetup/preparation/main_window_steps.h"
#include "records/layouts.h"
#include "tests/support/literal_upsert.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tools/sample/service.h"

namespace meridax {
namespace {

namespace fs = std::filesystem;
using testing::FolderBytes;
using testing::ReadFile;
using testing::ReadRecords;

std::size_t Lines(const fs::path& path) {
  const std::string text = ReadFile(path);
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(PeopleWorldTest, SmallWorldThroughThePeopleAndRaceFileSteps) {
  testing::TempDrive drive;
  sample::Options options;
  options.seed = 3;
  options.out = drive.root() / "JVDATA";
  options.expected = drive.root() / "raw";
  sample::Generate(options);
  for (const char* kind : sample::kStoredKinds) {
    const std::string name = sample::RawFileName(kind);
    fs::copy_file(options.expected / name, drive.data() / name);
  }

  MainWindowSteps steps;
  RecordingHost host;
  using Click = StepResult (MainWindowSteps::*)(StepHost&);
  for (const Click click : {&MainWindowSteps::Command2_Click, &MainWindowSteps::Command3_Click,
                            &MainWindowSteps::Command12_Click, &MainWindowSteps::Command14_Click,
                            &MainWindowSteps::Command6_Click, &MainWindowSteps::Command15_Click}) {
    ASSERT_EQ((steps.*click)(host), StepResult::kOk) << host.Status();
  }
  const auto& status = host.statusHistory();
  ASSERT_EQ(status.size(), 6u);

  // Jockeys: the list and the statistics follow the cleaned file record by record, in
  // descending codes, one record per code.
  const auto jockeys = ReadRecords(drive.data() / "KS20190101NEW.dat", 4161);
  ASSERT_FALSE(jockeys.empty());
  EXPECT_EQ(status[2], "KS(騎手） 終わり  " + std::to_string(jockeys.size()));
  const auto jockeyStats = ReadRecords(drive.data() / "KISHUSEISEI.dat", 121);
  ASSERT_EQ(jockeyStats.size(), jockeys.size());
  EXPECT_EQ(Lines(drive.data() / "KISHUNUM20190101.dat"), jockeys.size());
  for (std::size_t k = 0; k < jockeys.size(); ++k) {
    EXPECT_EQ(jockeyStats[k], BuildPersonStatRecord(jockeys[k], kJockeyStatSources));
    if (k > 0) {
      EXPECT_GT(records::View(jockeys[k - 1], records::ks::JockeyCode),
                records::View(jockeys[k], records::ks::JockeyCode));
    }
  }

  // Breeders sharing their first six code bytes (a hazard of the world) are one breeder.
  const auto breeders = ReadRecords(drive.data() / "BR20190101NEW.dat", 545);
  std::set<std::string> prefixes;
  for (const auto& b : breeders) {
    EXPECT_TRUE(
        prefixes.insert(std::string(records::View(b, records::br::BreederCode).substr(0, 6)))
            .second);
  }
  EXPECT_EQ(ReadRecords(drive.data() / "BREEDERSEISEI.dat", 35).size(), breeders.size());
  const auto owners = ReadRecords(drive.data() / "BN20190101NEW.dat", 477);
  EXPECT_EQ(status[3], "CH(調教師） 終わり  " + std::to_string(owners.size()));
  EXPECT_EQ(ReadRecords(drive.data() / "CHOKYOSEISEI.dat", 121).size(),
            ReadRecords(drive.data() / "CH20190101NEW.dat", 3850).size());

  // Race files: each horse file holds only that horse's runs in race-date order, and both
  // folders match the literal algorithm byte for byte.
  const std::size_t runners = ReadRecords(drive.data() / "SE20190101NEW.dat", 555).size();
  EXPECT_EQ(status[4], "SE/UM 終わり  " + std::to_string(runners));
  EXPECT_EQ(status[5], "SE/KS 終わり  " + std::to_string(runners));
  const auto horseFiles = FolderBytes(drive.data() / "UMAGOTOSETUP");
  EXPECT_EQ(horseFiles.size(), Lines(drive.data() / "KETTONUM20190101.dat"));
  std::size_t horseRuns = 0;
  for (const auto& [name, bytes] : horseFiles) {
    std::string last;
    for (std::size_t at = 0; at < bytes.size(); at += 555) {
      const std::string_view run(bytes.data() + at, 555);
      EXPECT_EQ(std::string(records::View(run, records::se::HorseId)) + ".dat", name);
      const std::string date = std::string(records::View(run, records::se::RaceYear)) +
                               std::string(records::View(run, records::se::RaceMonthDay));
      EXPECT_LE(last, date);
      last = date;
      ++horseRuns;
    }
  }
  EXPECT_GT(horseRuns, 0u);

  const auto horseFilesFast = horseFiles;
  const auto jockeyFilesFast = FolderBytes(drive.data() / "KISHUGOTOSETUP");
  fs::remove_all(drive.data() / "UMAGOTOSETUP");
  fs::remove_all(drive.data() / "KISHUGOTOSETUP");
  fs::create_directory(drive.data() / "UMAGOTOSETUP");
  fs::create_directory(drive.data() / "KISHUGOTOSETUP");
  namespace se = records::se;
  for (const auto& [list, folder, entity] :
       {std::tuple{"KETTONUM20190101.dat", "UMAGOTOSETUP", se::HorseId},
        std::tuple{"KISHUNUM20190101.dat", "KISHUGOTOSETUP", se::JockeyCode}}) {
    testing::LiteralUpsertRule rule;
    rule.listFile = std::string("C:\\MERIDAXPROJECT\\") + list;
    rule.sourceFile = "C:\\MERIDAXPROJECT\\SE20190101NEW.dat";
    rule.recordLength = 555;
    rule.folderPrefix = std::string("C:\\MERIDAXPROJECT\\\\") + folder + "\\";
    rule.entityField = entity;
    rule.createdDate = se::CreatedDate;
    rule.identityFields = {se::RaceYear, se::RaceMonthDay, se::RaceNumber, se::HorseNumber, entity};
    testing::LiteralUpsert(rule);
  }
  EXPECT_TRUE(FolderBytes(drive.data() / "UMAGOTOSETUP") == horseFilesFast);
  EXPECT_TRUE(FolderBytes(drive.data() / "KISHUGOTOSETUP") == jockeyFilesFast);
  EXPECT_FALSE(jockeyFilesFast.empty());
}

}  // namespace
}  // namespace meridax
