#include "datasetup/preparation/jockey_rates.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "datasetup/common/jockey_course_stat_record.h"
#include "platform/file_ops.h"
#include "records/race_layouts.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"

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
constexpr std::size_t kStatLength = 127;

struct Ride {
  std::string_view year, monthDay, course, arrival;
};

std::string RideRecord(const Ride& r) {
  namespace se = records::se;
  return MakeRecord(kRunnerLength, {{se::RecordSpec, "SE"},
                                    {se::RaceYear, r.year},
                                    {se::RaceMonthDay, r.monthDay},
                                    {se::RacecourseCode, r.course},
                                    {se::ArrivalOrder, r.arrival},
                                    {se::FinishPosition, "01"}});
}

void WriteRides(const TempDrive& drive, const std::string& code, const std::vector<Ride>& rides) {
  std::vector<std::string> records;
  for (const auto& r : rides) records.push_back(RideRecord(r));
  WriteRecords(drive.data() / "KISHUGOTOSETUP" / (code + ".dat"), records);
}

std::int64_t RunPhase() {
  StagedFiles outputs;
  const std::int64_t skipped = WriteJockeyRates(outputs);
  outputs.Commit();
  return skipped;
}

// The 20 place count lines with the given (course, day class) -> (top three, other) counts.
using Counts = std::map<std::pair<int, int>, std::pair<int, int>>;
std::string PlaceLines(const Counts& counts) {
  std::string text;
  for (int c = 1; c <= 10; ++c) {
    for (int d = 1; d <= 2; ++d) {
      const auto it = counts.find({c, d});
      const auto [top, other] = it == counts.end() ? std::pair{0, 0} : it->second;
      text += std::to_string(c) + "," + std::to_string(d) + "," + std::to_string(top) + "," +
              std::to_string(other) + "\r\n";
    }
  }
  return text;
}

std::string Rate(std::string_view record, int course, int dayClass) {
  return std::string(records::View(record, jockey_course_stat::kCourseRates[course].At(dayClass)));
}

TEST(JockeyRatesTest, DayClassSeparatesSaturdaysFromEveryOtherDay) {
  struct Case {
    const char *year, *monthDay;
    int dayClass;
  } cases[] = {
      {"2019", "0105", 1},  // Saturday
      {"2019", "0106", 2},  // Sunday
      {"2019", "0107", 2},  // Monday
      {"2019", "0111", 2},  // Friday
      {"2020", "0229", 1},  // leap day, a Saturday
      {"2019", "0229", 1},  // no such date: counted as a Saturday
      {"2019", "1301", 1}, {"    ", "    ", 1}, {"20X9", "0106", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DayClassOf(c.year, c.monthDay), c.dayClass) << c.year << ' ' << c.monthDay;
  }
}

TEST(JockeyRatesTest, PlaceCountsFollowCourseDayAndOutcome) {
  struct Case {
    const char* name;
    std::vector<Ride> rides;  // in file order: the scan starts from the last
    Counts counts;
  } cases[] = {
      {"days",
       {{"2019", "0105", "06", "01"}, {"2019", "0106", "06", "05"}, {"2019", "0107", "06", "03"}},
       {{{6, 1}, {1, 0}}, {{6, 2}, {1, 1}}}},
      {"outcomes",
       {{"2019", "0105", "01", "02"},
        {"2019", "0105", "01", "04"},
        {"2019", "0105", "01", "00"},
        {"2019", "0105", "01", " 1"},
        {"2019", "0105", "01", "  "},
        {"2019", "0105", "01", "AB"}},
       {{{1, 1}, {2, 2}}}},
      {"racecourses",
       {{"2019", "0105", "10", "01"},
        {"2019", "0105", "11", "01"},
        {"2019", "0105", "00", "01"},
        {"2019", "0105", " 1", "01"},
        {"2019", "0105", "1 ", "01"},
        {"2019", "0105", "30", "01"}},
       {{{10, 1}, {1, 0}}}},
      {"the first ride of 2004 or earlier is counted and ends the scan",
       {{"2010", "0105", "05", "01"}, {"2004", "0106", "05", "01"}, {"2019", "0106", "05", "09"}},
       {{{5, 2}, {1, 1}}}},
      {"a ride elsewhere ends the scan too",
       {{"2019", "0105", "05", "01"}, {"2003", "0105", "30", "01"}, {"2019", "0105", "05", "01"}},
       {{{5, 1}, {1, 0}}}},
      {"a year that is no number is counted as a Saturday and ends the scan",
       {{"2019", "0106", "01", "01"}, {"20X9", "0106", "02", "01"}},
       {{{2, 1}, {1, 0}}}},
      {"a date that does not exist counts as a Saturday",
       {{"2019", "0230", "03", "01"}},
       {{{3, 1}, {1, 0}}}},
  };
  for (const auto& c : cases) {
    TempDrive drive;
    WriteIdList(drive.data() / "KISHUNUM20190101.dat", {"01001"});
    WriteRides(drive, "01001", c.rides);
    EXPECT_EQ(RunPhase(), 0);
    EXPECT_EQ(ReadFile(drive.data() / "KISHUFUKUSHO" / "01001.dat"), PlaceLines(c.counts))
        << c.name;
  }
}

TEST(JockeyRatesTest, RecordsHoldTheRatesWithCourse06Before05) {
  TempDrive drive;
  WriteIdList(drive.data() / "KISHUNUM20190101.dat", {"01001", "ABC"});
  std::vector<Ride> rides = {
      {"2019", "0105", "05", "01"}, {"2019", "0105", "05", "07"}, {"2019", "0105", "05", "08"},
      {"2019", "0105", "05", "09"}, {"2019", "0106", "06", "01"}, {"2019", "0106", "06", "02"},
      {"2019", "0106", "06", "03"}, {"2019", "0107", "10", "01"}, {"2019", "0107", "10", "01"},
      {"2019", "0107", "10", "01"}, {"2019", "0107", "10", "01"}, {"2019", "0107", "10", "01"},
      {"2019", "0107", "10", "01"}, {"2019", "0107", "10", "01"}, {"2019", "0107", "10", "04"},
      {"2019", "0107", "10", "04"}, {"2019", "0107", "10", "04"}};
  WriteRides(drive, "01001", rides);
  RunPhase();
  const auto records = ReadRecords(drive.data() / "OPTION1N" / "DONICHI.dat", kStatLength);
  ASSERT_EQ(records.size(), 2u);
  const std::string& r = records[0];
  EXPECT_EQ(r.substr(0, 5), "01001");
  EXPECT_EQ(Rate(r, 5, 1), "025000");           // 1 of 4
  EXPECT_EQ(Rate(r, 6, 2), "100000");           // 3 of 3
  EXPECT_EQ(Rate(r, 10, 2), "069999");          // 7 of 10, the quotient in single precision
  EXPECT_EQ(r.substr(53, 12), "000000100000");  // course 06 at 54
  EXPECT_EQ(r.substr(65, 12), "025000000000");  // course 05 at 66
  EXPECT_EQ(r.substr(125), "\r\n");
  // A short code is padded in the record; its files are named as read. Without a race
  // file the jockey has twenty zero rates and an empty race file is left behind.
  EXPECT_EQ(records[1], "ABC  " + std::string(120, '0') + "\r\n");
  EXPECT_EQ(ReadFile(drive.data() / "KISHUFUKUSHO" / "ABC.dat"), PlaceLines({}));
  EXPECT_TRUE(FileExists(drive.data() / "KISHUGOTOSETUP" / "ABC.dat"));
  EXPECT_EQ(FileLength(drive.data() / "KISHUGOTOSETUP" / "ABC.dat"), 0u);
}

TEST(JockeyRatesTest, RecordsFollowTheCurrentListAndNothingElse) {
  TempDrive drive;
  WriteFile(drive.data() / "OPTION1N" / "DONICHI.dat", std::string(5 * kStatLength, 'x'));
  WriteFile(drive.data() / "KISHUFUKUSHO" / "01001.dat", "stale\r\n");
  // A code listed twice has a record at each position; a code that cannot name a file gets
  // zero rates and no files.
  WriteIdList(drive.data() / "KISHUNUM20190101.dat", {"01002", "01001", "01\\02", "01002"});
  WriteRides(drive, "01002", {{"2019", "0105", "01", "01"}});
  EXPECT_EQ(RunPhase(), 1);
  const auto records = ReadRecords(drive.data() / "OPTION1N" / "DONICHI.dat", kStatLength);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].substr(0, 11), "01002100000");
  EXPECT_EQ(records[1].substr(0, 11), "01001000000");
  EXPECT_EQ(records[2], "01\\02" + std::string(120, '0') + "\r\n");
  EXPECT_EQ(records[3], records[0]);
  EXPECT_EQ(ReadFile(drive.data() / "KISHUFUKUSHO" / "01002.dat"), PlaceLines({{{1, 1}, {1, 0}}}));
  EXPECT_EQ(ReadFile(drive.data() / "KISHUFUKUSHO" / "01001.dat"), PlaceLines({}));
  EXPECT_FALSE(FileExists(drive.data() / "KISHUFUKUSHO" / "01\\02.dat"));
  EXPECT_FALSE(FileExists(drive.data() / "KISHUFUKUSHO" / "01"));
}

TEST(JockeyRatesTest, CountsStopAt32767AndTheirSumStillGivesARate) {
  TempDrive drive;
  WriteIdList(drive.data() / "KISHUNUM20190101.dat", {"01001"});
  const std::string top = RideRecord({"2019", "0105", "01", "01"});
  const std::string other = RideRecord({"2019", "0105", "01", "05"});
  std::string bytes;
  bytes.reserve(32772 * kRunnerLength);
  for (int i = 0; i < 32770; ++i) bytes += top;
  bytes += other + other;
  WriteFile(drive.data() / "KISHUGOTOSETUP" / "01001.dat", bytes);
  RunPhase();
  EXPECT_EQ(ReadFile(drive.data() / "KISHUFUKUSHO" / "01001.dat"),
            PlaceLines({{{1, 1}, {32767, 2}}}));
  const auto records = ReadRecords(drive.data() / "OPTION1N" / "DONICHI.dat", kStatLength);
  EXPECT_EQ(Rate(records[0], 1, 1), "099993");  // 32767 of 32769
}

TEST(JockeyRatesTest, MissingListGivesAnEmptyRecordFile) {
  TempDrive drive;
  WriteFile(drive.data() / "OPTION1N" / "DONICHI.dat", std::string(kStatLength, 'x'));
  EXPECT_EQ(RunPhase(), 0);
  EXPECT_EQ(FileLength(drive.data() / "OPTION1N" / "DONICHI.dat"), 0u);
}

}  // namespace
}  // namespace meridax
