#include "tests/factorvariants/variant_cases.h"

#include <gtest/gtest.h>

#include "datasetup/common/extended_run_record.h"
#include "records/race_layouts.h"

namespace meridax::testing {

namespace ex = extended_run;

std::string RunOf(const std::vector<FieldValue>& fields) {
  std::string run = ExRun({});
  for (const auto& f : fields) records::Put(run, f.field, f.text);
  return run;
}

void ExpectCodes(ItemRoutine routine, std::string_view name, const std::vector<RunCase>& cases,
                 ExFixture& f) {
  for (std::size_t i = 0; i < cases.size(); ++i) {
    f.SetRuns({RunOf(cases[i].fields)});
    EXPECT_EQ(f.Code(routine, 1), cases[i].code) << name << " case " << i;
  }
}

void ExpectPreviousCodes(ItemRoutine routine, std::string_view name,
                         const std::vector<RunCase>& before, ExFixture& f) {
  for (std::size_t i = 0; i < before.size(); ++i) {
    f.SetRuns({RunOf(before[i].fields), ExRun({{ex::TrackCode, "17"}})});
    EXPECT_EQ(f.Code(routine, 2), before[i].code) << name << " case " << i;
  }
}

std::vector<FieldValue> CourseRun(std::string_view racecourse, std::string_view track,
                                  std::string_view date, std::string_view distance) {
  return {{ex::RacecourseCode, racecourse},  {ex::TrackCode, track},
          {ex::RaceYear, date.substr(0, 4)}, {ex::RaceMonthDay, date.substr(4)},
          {ex::Distance, distance},          {ex::HorseNumber, "07"},
          {ex::CourseDivision, "B "}};
}

std::string JockeyRide(std::string_view date, std::string_view arrival, std::string_view category) {
  namespace se = records::se;
  return MakeRecord(static_cast<std::size_t>(records::kRunnerLayout.storedLength),
                    {{se::DataCategory, category},
                     {se::RaceYear, date.substr(0, 4)},
                     {se::RaceMonthDay, date.substr(4, 4)},
                     {se::ArrivalOrder, arrival}});
}

}  // namespace meridax::testing
