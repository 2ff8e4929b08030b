// A small generated world, hazards included, through the people and race-file steps, and
// then through the recent-runner and margin steps that read what they wrote.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <map>
#include <set>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/common/formats.h"
#include "datasetup/common/horse_stat_record.h"
#include "datasetup/common/people_stat_records.h"
#include "datasetup/preparation/main_window_steps.h"
#include "datasetup/preparation/margin_table.h"
#include "platform/file_ops.h"
#include "platform/text_file.h"
#include "records/layouts.h"
#include "tests/support/literal_upsert.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"
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

// The raw record files of a small generated world in the data folder, then the steps that
// make the cleaned files, the lists and the race files.
void PrepareSmallWorld(const testing::TempDrive& drive, MainWindowSteps& steps,
                       RecordingHost& host) {
  sample::Options options;
  options.seed = 3;
  options.out = drive.root() / "JVDATA";
  options.expected = drive.root() / "raw";
  sample::Generate(options);
  for (const char* kind : sample::kStoredKinds) {
    const std::string name = sample::RawFileName(kind);
    fs::copy_file(options.expected / name, drive.data() / name);
  }
  for (const char* control :
       {"Command2", "Command3", "Command12", "Command14", "Command6", "Command15"}) {
    ASSERT_EQ(testing::Click(kMainWindow, steps, control, host), StepResult::kOk) << host.Status();
  }
}

TEST(PeopleWorldTest, SmallWorldThroughThePeopleAndRaceFileSteps) {
  testing::TempDrive drive;
  MainWindowSteps steps;
  RecordingHost host;
  ASSERT_NO_FATAL_FAILURE(PrepareSmallWorld(drive, steps, host));
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

std::vector<std::string> ListItems(const fs::path& path) {
  std::vector<std::string> items;
  for (ItemReader in(path); !in.AtEnd();) items.push_back(in.Next());
  return items;
}

// A jockey's rides counted the way the rates phase is meant to count them: from the newest
// ride back to the first of 2004 or earlier, rides at "01" to "10" only, Saturdays apart.
// [course][day class][1: top three, 2: other].
using RideCounts = std::array<std::array<std::array<int, 3>, 3>, 11>;
RideCounts CountRides(const std::vector<std::string>& rides, std::set<std::string>& seen) {
  namespace se = records::se;
  namespace ch = std::chrono;
  RideCounts counts{};
  for (auto ride = rides.rbegin(); ride != rides.rend(); ++ride) {
    const int year = std::stoi(std::string(records::View(*ride, se::RaceYear)));
    const std::string monthDay(records::View(*ride, se::RaceMonthDay));
    const ch::year_month_day date{
        ch::year{year}, ch::month{static_cast<unsigned>(std::stoi(monthDay.substr(0, 2)))},
        ch::day{static_cast<unsigned>(std::stoi(monthDay.substr(2, 2)))}};
    const bool saturday = ch::weekday{ch::sys_days{date}} == ch::Saturday;
    const std::string course(records::View(*ride, se::RacecourseCode));
    const std::string arrival(records::View(*ride, se::ArrivalOrder));
    int c = 0;
    for (int k = 1; k <= 10; ++k) {
      if (course == (k < 10 ? "0" : "") + std::to_string(k)) c = k;
    }
    if (c != 0) {
      const int order = std::stoi(arrival);
      ++counts[c][saturday ? 1 : 2][order >= 1 && order <= 3 ? 1 : 2];
    }
    seen.insert(saturday ? "saturday" : "other day");
    seen.insert(c != 0 ? "at 01 to 10" : "elsewhere");
    if (arrival == "00") seen.insert("arrival 00");
    if (year <= 2004) {
      seen.insert("stopped at 2004");
      break;
    }
  }
  return counts;
}

TEST(PeopleWorldTest, SmallWorldThroughTheRecentRunnerAndMarginSteps) {
  namespace se = records::se;
  testing::TempDrive drive;
  MainWindowSteps steps;
  RecordingHost host;
  ASSERT_NO_FATAL_FAILURE(PrepareSmallWorld(drive, steps, host));
  const fs::path data = drive.data();
  ASSERT_EQ(testing::Click(kMainWindow, steps, "Command8", host), StepResult::kOk) << host.Status();

  // The recent list: each listed horse whose last run is from 2000 on, by that run's id.
  std::string recent;
  for (const auto& id : ListItems(data / "KETTONUM20190101.dat")) {
    const auto runs = ReadRecords(data / "UMAGOTOSETUP" / (id + ".dat"), 555);
    if (!runs.empty() && std::stoi(std::string(records::View(runs.back(), se::RaceYear))) >= 2000) {
      recent += "\"" + std::string(records::View(runs.back(), se::HorseId)) + "\"\r\n";
    }
  }
  ASSERT_FALSE(recent.empty());
  EXPECT_EQ(ReadFile(data / "KETTONUM20190101Q.dat"), recent);
  const std::vector<std::string> recentIds = ListItems(data / "KETTONUM20190101Q.dat");

  // Their statistics records in the order of KYOSOBA.dat, once per list entry.
  const auto stats = ReadRecords(data / "OPTION1N" / "KYOSOBA.dat", 228);
  std::vector<std::string> copies;
  for (const auto& record : stats) {
    for (const auto& id : recentIds) {
      if (records::View(record, horse_stat::HorseId) == id) copies.push_back(record);
    }
  }
  ASSERT_FALSE(copies.empty());
  EXPECT_EQ(ReadRecords(data / "OPTION1N" / "KYOSOBAA.dat", 228), copies);
  EXPECT_EQ(host.Status(), "終わり  " + std::to_string(stats.size()));

  // Record p of DONICHI.dat and the place counts of the jockey at list position p.
  const std::vector<std::string> jockeys = ListItems(data / "KISHUNUM20190101.dat");
  const auto rates = ReadRecords(data / "OPTION1N" / "DONICHI.dat", 127);
  ASSERT_EQ(rates.size(), jockeys.size());
  std::set<std::string> seen;
  for (std::size_t p = 0; p < jockeys.size(); ++p) {
    const RideCounts counts =
        CountRides(ReadRecords(data / "KISHUGOTOSETUP" / (jockeys[p] + ".dat"), 555), seen);
    std::string lines;
    for (int c = 1; c <= 10; ++c) {
      for (int d = 1; d <= 2; ++d) {
        lines += std::to_string(c) + "," + std::to_string(d) + "," +
                 std::to_string(counts[c][d][1]) + "," + std::to_string(counts[c][d][2]) + "\r\n";
      }
    }
    EXPECT_EQ(ReadFile(data / "KISHUFUKUSHO" / (jockeys[p] + ".dat")), lines) << jockeys[p];
    std::string record = (jockeys[p] + "     ").substr(0, 5);
    for (const int c : {1, 2, 3, 4, 6, 5, 7, 8, 9, 10}) {
      for (int d = 1; d <= 2; ++d) {
        record += FixedRate6(counts[c][d][1], counts[c][d][1] + counts[c][d][2]);
      }
    }
    EXPECT_EQ(rates[p], record + "\r\n") << jockeys[p];
  }
  // The world reaches every branch of the count.
  EXPECT_EQ(seen, (std::set<std::string>{"saturday", "other day", "at 01 to 10", "elsewhere",
                                         "arrival 00", "stopped at 2004"}));

  // Extended run files for all recent horses but the first, each run copying the runner's
  // race key, arrival order and margin code; the first horse's file is left missing.
  namespace ex = extended_run;
  std::vector<WinnerMarginRow> winners;
  std::int64_t lastCount = 0;
  for (std::size_t h = 1; h < recentIds.size(); ++h) {
    std::vector<std::string> runs;
    for (const auto& runner : ReadRecords(data / "UMAGOTOSETUP" / (recentIds[h] + ".dat"), 555)) {
      std::string run = runner + std::string(1341 - 555, ' ');
      records::Put(run, ex::ArrivalOrder, records::View(runner, se::ArrivalOrder));
      records::Put(run, ex::MarginCode, records::View(runner, se::MarginCode));
      runs.push_back(run);
      if (records::View(runner, se::ArrivalOrder) == "01") {
        std::string raceId;
        for (const auto f : {se::RaceYear, se::RacecourseCode, se::MeetingNumber, se::MeetingDay,
                             se::RaceNumber}) {
          raceId += records::View(runner, f);
        }
        winners.push_back({raceId, "01", std::string(records::View(runner, se::MarginCode))});
      }
    }
    testing::WriteRecords(data / "UMAGOTOEXSETUP" / (recentIds[h] + "EX.dat"), runs);
    lastCount = static_cast<std::int64_t>(runs.size());
  }
  ASSERT_FALSE(winners.empty());
  const std::string before = host.Status();
  ASSERT_EQ(testing::Click(kMainWindow, steps, "Command13", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), before);
  EXPECT_EQ(steps.state().recordCount, lastCount);
  EXPECT_TRUE(FileExists(data / "UMAGOTOEXSETUP" / (recentIds[0] + "EX.dat")));
  EXPECT_EQ(FileLength(data / "UMAGOTOEXSETUP" / (recentIds[0] + "EX.dat")), 0u);
  MainWindowState state;
  EXPECT_EQ(BuildWinnerMarginTable(state).rows, winners);
}

}  // namespace
}  // namespace meridax
