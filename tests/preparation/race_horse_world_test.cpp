// A small generated world, hazards included, through "RA(レース）", "SE(詳細)" and
// "UM(競走馬)" as meridax-run runs them: every file they write exists, in whole records of
// its length, and the horse statistics agree with the finish-count blocks read back.

#include <gtest/gtest.h>

#include "datasetup/common/finish_count_block.h"
#include "datasetup/common/horse_stat_record.h"
#include "datasetup/register_windows.h"
#include "platform/headless_windows.h"
#include "platform/numbers.h"
#include "records/layouts.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tools/sample/service.h"

namespace meridax {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ReadRecords;

std::vector<std::string> Lines(const fs::path& path) {
  const std::string text = ReadFile(path);
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << path << " does not end in CR LF";
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::string Key(std::string_view record, std::initializer_list<records::FieldRef> fields) {
  std::string key;
  for (const auto& f : fields) key += records::View(record, f);
  return key;
}

// The cleaned file holds whole records, one per key in ascending key order, each of a kept
// category and ending in CR LF.
std::vector<std::string> CheckCleaned(const fs::path& path, std::size_t length,
                                      std::initializer_list<records::FieldRef> key,
                                      std::string_view categories) {
  const auto cleaned = ReadRecords(path, length);
  EXPECT_FALSE(cleaned.empty()) << path;
  std::string previous;
  for (const auto& r : cleaned) {
    EXPECT_EQ(r.substr(length - 2), "\r\n") << path;
    EXPECT_NE(categories.find(records::View(r, records::header::DataCategory)),
              std::string_view::npos)
        << path;
    const std::string k = Key(r, key);
    EXPECT_LT(previous, k) << path;
    previous = k;
  }
  return cleaned;
}

TEST(RaceHorseWorldTest, SmallWorldThroughTheRaceRunnerAndHorseSteps) {
  testing::TempDrive drive;
  sample::Options options;
  options.seed = 5;
  options.out = drive.root() / "JVDATA";
  options.expected = drive.root() / "raw";
  sample::Generate(options);
  for (const char* kind : {"RA", "SE", "UM"}) {
    const std::string name = sample::RawFileName(kind);
    fs::copy_file(options.expected / name, drive.data() / name);
  }
  const fs::path data = drive.data();
  const auto rawCount = [&](const char* name, std::size_t length) {
    return std::to_string(ReadRecords(data / name, length).size());
  };

  WindowRegistry windows;
  RegisterDatasetupWindows(windows);
  RecordingHost host;
  HeadlessWindows registry(windows, host);
  for (const char* step : {"Command1_Click", "Command2_Click", "Command3_Click"}) {
    const std::string run = std::string("FormMERIDAXPROJECTSETUP2025ZZ.") + step;
    ASSERT_TRUE(registry.Known(run)) << step;
    ASSERT_EQ(registry.Run(run), HeadlessWindows::Outcome::kOk) << host.Status();
  }
  const auto& status = host.statusHistory();
  ASSERT_EQ(status.size(), 3u);
  EXPECT_EQ(status[0], "RA 終わり  " + rawCount("RA20190101.dat", 1272));
  EXPECT_EQ(status[1], "SE 終わり  " + rawCount("SE20190101.dat", 555));

  namespace ra = records::ra;
  namespace se = records::se;
  namespace um = records::um;
  CheckCleaned(data / "RA20190101NEW.dat", 1272,
               {ra::RaceYear, ra::RaceMonthDay, ra::RacecourseCode, ra::RaceNumber}, "7BA");
  CheckCleaned(data / "SE20190101NEW.dat", 555,
               {se::RaceYear, se::RaceMonthDay, se::RaceNumber, se::HorseNumber, se::HorseId},
               "7BA");
  const auto horses = CheckCleaned(data / "UM20190101NEW.dat", 1609, {um::HorseId}, "12349");
  EXPECT_EQ(status[2], "UM 終わり  " + std::to_string(horses.size()));

  // The lists: one line per horse (listed ones only in KETTONUM20190101.dat), in the order
  // of the cleaned file.
  std::vector<std::string> listed;
  std::vector<std::string> statusLines;
  for (const auto& h : horses) {
    const std::string id(records::View(h, um::HorseId));
    const bool unraced = records::View(h, um::DeregistrationCode) == "1" &&
                         records::View(h, um::RegisteredRaceCount) == "000";
    if (!unraced && Val(id.substr(0, 4)) >= 2010) listed.push_back("\"" + id + "\"");
    statusLines.push_back("\"" + id + "\",\"" +
                          std::string(records::View(h, um::DeregistrationCode)) +
                          std::string(records::View(h, um::RegisteredRaceCount)) + "\"");
  }
  EXPECT_FALSE(listed.empty());
  EXPECT_LT(listed.size(), horses.size());  // the world holds old and unraced horses
  EXPECT_EQ(Lines(data / "KETTONUM20190101.dat"), listed);
  EXPECT_EQ(Lines(data / "KETTOMASSHO.dat"), statusLines);

  // Every horse has its block of 29 lines, its vector of 174 and statistics record n.
  const auto stats = ReadRecords(data / "OPTION1N" / "KYOSOBA.dat", 228);
  ASSERT_EQ(stats.size(), horses.size());
  for (std::size_t i = 0; i < horses.size(); ++i) {
    const std::string id(records::View(horses[i], um::HorseId));
    const fs::path block = data / "KYOSOBA" / (id + ".dat");
    EXPECT_EQ(Lines(block).size(), 29u) << id;
    EXPECT_EQ(Lines(data / "KYOSOBAN" / (id + ".dat")).size(), 174u) << id;
    ItemReader in(block);
    EXPECT_EQ(stats[i], BuildHorseStatRecord(id, ReadFinishCountBlock(in))) << id;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(data / "KYOSOBA"), {}),
            static_cast<std::ptrdiff_t>(horses.size()));
  EXPECT_EQ(std::distance(fs::directory_iterator(data / "KYOSOBAN"), {}),
            static_cast<std::ptrdiff_t>(horses.size()));
}

}  // namespace
}  // namespace meridax
