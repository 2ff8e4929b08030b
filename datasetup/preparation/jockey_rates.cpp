#include "datasetup/preparation/jockey_rates.h"

#include <array>
#include <limits>
#include <string>
#include <unordered_map>

#include "datasetup/common/data_files.h"
#include "datasetup/common/file_ids.h"
#include "datasetup/common/formats.h"
#include "datasetup/common/jockey_course_stat_record.h"
#include "datasetup/common/paths.h"
#include "platform/dates.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/text_file.h"
#include "records/race_layouts.h"

namespace meridax {
namespace {

constexpr int kCourses = 10;
constexpr int kSaturday = 7;
// The scan from the newest ride ends at the first ride of 2004 or earlier, which it still
// counts; the rides before it are never read.
constexpr int kLastOldYear = 2004;

enum Outcome { kTop3 = 1, kOther = 2 };

// The racecourse number 1 to 10 of the codes "01" to "10" exactly; 0 for any other text.
int CourseNumber(std::string_view code) {
  static constexpr std::array<std::string_view, kCourses + 1> kCodes{
      "", "01", "02", "03", "04", "05", "06", "07", "08", "09", "10"};
  for (int c = 1; c <= kCourses; ++c) {
    if (code == kCodes[static_cast<std::size_t>(c)]) return c;
  }
  return 0;
}

// Counts by racecourse, day class and outcome. They are 16 bits wide; a count at 32767
// stays there.
class CourseDayCounts {
 public:
  void Add(int course, int dayClass, Outcome outcome) {
    std::int16_t& n = counts_[course][dayClass][outcome];
    if (n < std::numeric_limits<std::int16_t>::max()) ++n;
  }
  std::int16_t Count(int course, int dayClass, Outcome outcome) const {
    return counts_[course][dayClass][outcome];
  }

 private:
  std::int16_t counts_[kCourses + 1][3][3]{};
};

CourseDayCounts CountRecentRides(const RecordMap& rides) {
  namespace se = records::se;
  CourseDayCounts counts;
  for (std::int64_t r = rides.Count(); r >= 1; --r) {
    const std::string_view ride = rides.Record(r);
    const std::string_view year = records::View(ride, se::RaceYear);
    const int dayClass = DayClassOf(year, records::View(ride, se::RaceMonthDay));
    if (const int course = CourseNumber(records::View(ride, se::RacecourseCode)); course != 0) {
      // An arrival order that is no number is counted nowhere.
      if (const auto order = ToInt16(records::View(ride, se::ArrivalOrder))) {
        counts.Add(course, dayClass, *order >= 1 && *order <= 3 ? kTop3 : kOther);
      }
    }
    // A year that is no number ends the scan, as one of 2004 or earlier does.
    const auto y = ToInt16(year);
    if (!y || *y <= kLastOldYear) break;
  }
  return counts;
}

std::string CourseStatRecord(std::string_view code, const CourseDayCounts& counts) {
  namespace stat = jockey_course_stat;
  std::string record(static_cast<std::size_t>(kJockeyCourseStatLayout.storedLength), ' ');
  records::Put(record, stat::JockeyCode, code);
  for (int c = 1; c <= kCourses; ++c) {
    for (int dayClass = 1; dayClass <= 2; ++dayClass) {
      // The sum is taken wider than the counts, so two full counts still give a rate.
      const std::int32_t top3 = counts.Count(c, dayClass, kTop3);
      const std::int32_t rides = top3 + counts.Count(c, dayClass, kOther);
      records::Put(record, stat::kCourseRates[static_cast<std::size_t>(c)].At(dayClass),
                   FixedRate6(top3, rides));
    }
  }
  records::Put(record, stat::LineEnd, "\r\n");
  return record;
}

void WritePlaceCounts(const std::filesystem::path& path, const CourseDayCounts& counts) {
  TextWriter out(path, TextWriter::Mode::kOutput);
  for (int c = 1; c <= kCourses; ++c) {
    for (int dayClass = 1; dayClass <= 2; ++dayClass) {
      out.Num(c)
          .Num(dayClass)
          .Num(counts.Count(c, dayClass, kTop3))
          .Num(counts.Count(c, dayClass, kOther))
          .EndLine();
    }
  }
  out.Close();
}

}  // namespace

int DayClassOf(std::string_view raceYear, std::string_view raceMonthDay) {
  const auto weekday = WeekdayOf(raceYear, raceMonthDay.substr(0, 2), raceMonthDay.substr(2, 2));
  return !weekday || *weekday == kSaturday ? 1 : 2;
}

std::int64_t WriteJockeyRates(StagedFiles& outputs) {
  const auto raceFolder = DataPath(kJockeyRaceFolder);
  const auto placeFolder = DataPath(kJockeyPlaceFolder);
  // Rebuilt whole, so the file holds exactly the jockeys of the current list.
  RecordFile stats(outputs.Stage(DataPath(kJockeyCourseStatFileName)),
                   static_cast<std::size_t>(kJockeyCourseStatLayout.storedLength));
  // A code listed twice writes its place counts twice, with the same counts; its file is
  // staged once.
  std::unordered_map<std::string, std::filesystem::path> placeFiles;
  ItemReader codes(DataPath(JockeyCodeListName()));
  std::int64_t p = 0;
  std::int64_t skipped = 0;
  while (!codes.AtEnd()) {
    const std::string code = codes.Next();
    ++p;
    const auto name = FileNameOfId(code);
    if (!name) {
      ++skipped;
      stats.Write(p, CourseStatRecord(code, CourseDayCounts{}));
      continue;
    }
    // Opening creates a missing race file, empty: such a jockey has no rides.
    const RecordMap rides(raceFolder / *name,
                          static_cast<std::size_t>(records::kRunnerLayout.storedLength));
    const CourseDayCounts counts = CountRecentRides(rides);
    stats.Write(p, CourseStatRecord(code, counts));
    auto [staged, fresh] = placeFiles.try_emplace(code);
    if (fresh) staged->second = outputs.Stage(placeFolder / *name);
    WritePlaceCounts(staged->second, counts);
  }
  stats.Close();
  return skipped;
}

}  // namespace meridax
