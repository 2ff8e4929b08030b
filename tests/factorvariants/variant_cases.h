#pragma once

// Cases of item variants: a run made of field assignments and the code a routine gives
// for it.

#include <string>
#include <string_view>
#include <vector>

#include "tests/factors/ex_fixture.h"

namespace meridax::testing {

struct RunCase {
  std::vector<FieldValue> fields;
  std::string_view code;
};

// One run: blanks, the fields, CR LF.
std::string RunOf(const std::vector<FieldValue>& fields);

// Each case on a horse of that one run.
void ExpectCodes(ItemRoutine routine, std::string_view name, const std::vector<RunCase>& cases,
                 ExFixture& f);

// Each case as run 1 of a horse whose run 2, on a turf track, is the run under work.
void ExpectPreviousCodes(ItemRoutine routine, std::string_view name,
                         const std::vector<RunCase>& before, ExFixture& f);

// A run at a racecourse on a track and date (yyyymmdd) over a distance, horse number "07",
// course division "B ".
std::vector<FieldValue> CourseRun(std::string_view racecourse, std::string_view track,
                                  std::string_view date, std::string_view distance = "1600");

// A ride of a jockey's ride file: a runner record on a date (yyyymmdd) at an arrival order,
// of a data category (blank when not given).
std::string JockeyRide(std::string_view date, std::string_view arrival,
                       std::string_view category = {});

}  // namespace meridax::testing
