#pragma once

// JockeyCourseStatRecord (OPTION1N\DONICHI.dat): 127 bytes per jockey, the top-three rates
// at the racecourses "01" to "10" on Saturdays and on other days.

#include <array>

#include "records/layout.h"

// Each course holds two rates: entry 1 Saturdays, entry 2 every other day. The readers
// take the pair of course 06 before that of 05.
#define MERIDAX_JOCKEY_COURSE_STAT_ROWS(X, M) \
  X(F, JockeyCode, 1, 5)                      \
  X(F, Course01Rates, 6, 6, 2)                \
  X(F, Course02Rates, 18, 6, 2)               \
  X(F, Course03Rates, 30, 6, 2)               \
  X(F, Course04Rates, 42, 6, 2)               \
  X(F, Course06Rates, 54, 6, 2)               \
  X(F, Course05Rates, 66, 6, 2)               \
  X(F, Course07Rates, 78, 6, 2)               \
  X(F, Course08Rates, 90, 6, 2)               \
  X(F, Course09Rates, 102, 6, 2)              \
  X(F, Course10Rates, 114, 6, 2)              \
  X(F, LineEnd, 126, 2)

namespace meridax {

inline constexpr records::FieldSpec kJockeyCourseStatLayoutFields[] = {
    MERIDAX_LAYOUT_ROWS(MERIDAX_JOCKEY_COURSE_STAT_ROWS)};
inline constexpr records::Layout kJockeyCourseStatLayout{"JockeyCourseStat",
                                                         kJockeyCourseStatLayoutFields, 127, 127};
static_assert(records::LayoutIsValid(kJockeyCourseStatLayout));

namespace jockey_course_stat {
using records::FieldRef;
MERIDAX_LAYOUT_REFS(MERIDAX_JOCKEY_COURSE_STAT_ROWS, kJockeyCourseStatLayout)

// The rate pair of racecourse c (1 to 10) at index c; index 0 holds none.
inline constexpr std::array<FieldRef, 11> kCourseRates{
    FieldRef{},    Course01Rates, Course02Rates, Course03Rates, Course04Rates, Course05Rates,
    Course06Rates, Course07Rates, Course08Rates, Course09Rates, Course10Rates};
}  // namespace jockey_course_stat

static_assert(jockey_course_stat::Course06Rates.At(1).pos == 54 &&
              jockey_course_stat::Course05Rates.At(2).pos == 72 &&
              jockey_course_stat::Course10Rates.At(2).pos == 120);

}  // namespace meridax
