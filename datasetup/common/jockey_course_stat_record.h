#pragma once

// JockeyCourseStatRecord (OPTION1N\DONICHI.dat): 127 bytes per jockey, the top-three rates
// at the racecourses "01" to "10" on Saturdays and on other days.

#include <array>

#include "records/layout.h"

namespace meridax {

namespace jockey_course_stat_detail {
using records::F;
// Each course holds two rates: entry 1 Saturdays, entry 2 every other day. The readers
// take the pair of course 06 before that of 05.
inline constexpr records::FieldSpec kFields[] = {
    F("JockeyCode", 1, 5),         F("Course01Rates", 6, 6, 2),   F("Course02Rates", 18, 6, 2),
    F("Course03Rates", 30, 6, 2),  F("Course04Rates", 42, 6, 2),  F("Course06Rates", 54, 6, 2),
    F("Course05Rates", 66, 6, 2),  F("Course07Rates", 78, 6, 2),  F("Course08Rates", 90, 6, 2),
    F("Course09Rates", 102, 6, 2), F("Course10Rates", 114, 6, 2), F("LineEnd", 126, 2),
};
}  // namespace jockey_course_stat_detail

inline constexpr records::Layout kJockeyCourseStatLayout{
    "JockeyCourseStat", jockey_course_stat_detail::kFields, 127, 127};
static_assert(records::LayoutIsValid(kJockeyCourseStatLayout));

namespace jockey_course_stat {
using records::FieldOf;
using records::FieldRef;
inline constexpr FieldRef JockeyCode = FieldOf(kJockeyCourseStatLayout, "JockeyCode");
inline constexpr FieldRef Course01Rates = FieldOf(kJockeyCourseStatLayout, "Course01Rates");
inline constexpr FieldRef Course02Rates = FieldOf(kJockeyCourseStatLayout, "Course02Rates");
inline constexpr FieldRef Course03Rates = FieldOf(kJockeyCourseStatLayout, "Course03Rates");
inline constexpr FieldRef Course04Rates = FieldOf(kJockeyCourseStatLayout, "Course04Rates");
inline constexpr FieldRef Course05Rates = FieldOf(kJockeyCourseStatLayout, "Course05Rates");
inline constexpr FieldRef Course06Rates = FieldOf(kJockeyCourseStatLayout, "Course06Rates");
inline constexpr FieldRef Course07Rates = FieldOf(kJockeyCourseStatLayout, "Course07Rates");
inline constexpr FieldRef Course08Rates = FieldOf(kJockeyCourseStatLayout, "Course08Rates");
inline constexpr FieldRef Course09Rates = FieldOf(kJockeyCourseStatLayout, "Course09Rates");
inline constexpr FieldRef Course10Rates = FieldOf(kJockeyCourseStatLayout, "Course10Rates");
inline constexpr FieldRef LineEnd = FieldOf(kJockeyCourseStatLayout, "LineEnd");

// The rate pair of racecourse c (1 to 10) at index c; index 0 holds none.
inline constexpr std::array<FieldRef, 11> kCourseRates{
    FieldRef{},    Course01Rates, Course02Rates, Course03Rates, Course04Rates, Course05Rates,
    Course06Rates, Course07Rates, Course08Rates, Course09Rates, Course10Rates};
}  // namespace jockey_course_stat

static_assert(jockey_course_stat::Course06Rates.At(1).pos == 54 &&
              jockey_course_stat::Course05Rates.At(2).pos == 72 &&
              jockey_course_stat::Course10Rates.At(2).pos == 120);

}  // namespace meridax
