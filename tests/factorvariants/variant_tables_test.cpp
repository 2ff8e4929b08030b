#include "datasetup/factorvariants/variant_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace meridax {
namespace {

using namespace variants;

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A remap is one step: no code it gives is taken again, and no code is taken twice.
template <std::size_t N>
void ExpectOneStep(const CodeRemap (&remaps)[N]) {
  std::set<std::string_view> from;
  for (const auto& r : remaps) EXPECT_TRUE(from.insert(r.from).second) << r.from;
  for (const auto& r : remaps) EXPECT_FALSE(from.count(r.to)) << r.to;
}

TEST(TurfMeetingRemaps, MoveAMeetingByOneMonthOnly) {
  ExpectOneStep(kTurfMeetingRemaps);
  for (const auto& r : kTurfMeetingRemaps) {
    ASSERT_EQ(r.from.size(), 8u);
    ASSERT_EQ(r.to.size(), 8u);
    EXPECT_TRUE(AllDigits(r.from) && AllDigits(r.to)) << r.from;
    // yy, meeting and "00" stay; the month moves by one.
    EXPECT_EQ(r.from.substr(0, 2), r.to.substr(0, 2));
    EXPECT_EQ(r.from.substr(4), r.to.substr(4));
    EXPECT_EQ(r.from.substr(6), "00");
    const int month = std::stoi(std::string(r.from.substr(2, 2)));
    const int to = std::stoi(std::string(r.to.substr(2, 2)));
    EXPECT_EQ(std::abs(month - to), 1) << r.from;
  }
}

TEST(WeightCodeRemaps, MergeIntoNeighboursOfTheSameSexBand) {
  ExpectOneStep(kWeightCodeRemaps);
  for (const auto& r : kWeightCodeRemaps) {
    ASSERT_EQ(r.from.size(), 4u);
    EXPECT_TRUE(AllDigits(r.from) && AllDigits(r.to)) << r.from;
    // Codes are weights in 0.1 kg and "0": steps of 50; targets whole kilograms.
    EXPECT_EQ(std::stoi(std::string(r.from)) % 50, 0) << r.from;
    EXPECT_EQ(std::stoi(std::string(r.to)) % 100, 0) << r.to;
    // Males' codes (below 7000) stay with males, the others' (300 added) with theirs.
    EXPECT_EQ(r.from < "7000", r.to < "7000") << r.from;
  }
}

template <std::size_t N>
void ExpectDisjoint(const ValueRemap (&remaps)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    EXPECT_LE(remaps[i].lo, remaps[i].hi);
    for (std::size_t j = i + 1; j < N; ++j) {
      EXPECT_TRUE(remaps[i].hi < remaps[j].lo || remaps[j].hi < remaps[i].lo) << i << "/" << j;
    }
  }
}

TEST(ValueRemaps, RangesAreDisjointAndGoingRemapsKeepTheirDigit) {
  ExpectDisjoint(kFlatPrizeClassRemaps);
  ExpectDisjoint(kDamRateRemaps);
  ExpectDisjoint(kSireGoingRemaps);
  for (const auto& r : kSireGoingRemaps) {
    // Each going digit's codes map to that digit & "8".
    const std::string lo = std::to_string(static_cast<int>(r.lo));
    EXPECT_EQ(r.to.substr(0, 1), lo.substr(0, 1)) << lo;
    EXPECT_EQ(r.to.substr(1), "8");
  }
  ExpectOneStep(kDistanceRateRemaps);
  ExpectOneStep(kOtherPrizeClassRemaps);
}

template <std::size_t N>
void ExpectCourseTable(const CourseDateDigits (&table)[N], bool everyCourse) {
  std::set<std::string_view> courses;
  for (const auto& row : table) {
    EXPECT_TRUE(courses.insert(row.racecourse).second) << row.racecourse;
    EXPECT_TRUE(row.racecourse >= "01" && row.racecourse <= "10") << row.racecourse;
  }
  if (everyCourse) {
    EXPECT_EQ(courses.size(), 10u);
  }
}

void ExpectWindows(const DateDigits& digits) {
  std::int32_t last = 0;
  for (const auto& w : digits.windows) {
    if (w.to == 0) continue;
    // Real dates of the layouts' years, in order, not overlapping.
    EXPECT_NO_THROW(DayOfYyyymmdd(std::to_string(w.from)));
    EXPECT_NO_THROW(DayOfYyyymmdd(std::to_string(w.to)));
    EXPECT_LE(w.from, w.to);
    EXPECT_GT(w.from, last);
    EXPECT_GE(w.from, 20050601);
    EXPECT_LE(w.to, 20120302);
    last = w.to;
    EXPECT_TRUE(w.digit == "1" || w.digit == "2") << w.from;
  }
  EXPECT_TRUE(digits.otherwise == "1" || digits.otherwise == "2" || digits.otherwise == "3");
}

TEST(LayoutDateWindows, DatesInOrderAndCoursesOnce) {
  ExpectCourseTable(kTurfLayoutByDate, true);
  ExpectCourseTable(kLaterTurfLayoutByDate, true);
  ExpectCourseTable(kDirtLayoutByDate, false);
  ExpectCourseTable(kLaterDirtLayoutByDate, false);
  ExpectWindows(kStraightLayoutByDate);
  ExpectWindows(kLaterStraightLayoutByDate);
  for (const auto& row : kTurfLayoutByDate) ExpectWindows(row.digits);
  for (const auto& row : kLaterTurfLayoutByDate) ExpectWindows(row.digits);
  for (const auto& row : kDirtLayoutByDate) ExpectWindows(row.digits);
  for (const auto& row : kLaterDirtLayoutByDate) ExpectWindows(row.digits);
  // The own dirt codes put "25" after a head of the digit and a racecourse.
  for (const auto& own : kLaterDirtCourseCodes) {
    EXPECT_TRUE(own.head.empty() || own.head.size() == 3) << own.racecourse;
    EXPECT_TRUE(own.distance >= 1000 && own.distance <= 2000) << own.racecourse;
  }
}

TEST(MeetingCalendar, EveryCellListsMeetingsFromOneWithKnownShifts) {
  const std::set<int> shifts = {0, 4, 6, 7, 8, 9, 10, 12, 16, 18};
  int anyOther = 0;
  for (std::size_t y = 0; y < std::size(kCalendarYears); ++y) {
    EXPECT_EQ(kCalendarYears[y], std::to_string(2007 + y));
    for (std::size_t course = 0; course < 10; ++course) {
      const std::string_view cell = kMeetingCalendar[y][course];
      std::size_t i = 0;
      for (; const auto entry = MeetingShiftAt(cell, i); ++i) {
        EXPECT_TRUE(shifts.count(entry->days)) << cell;
        if (entry->meeting == "any other") {
          ++anyOther;
          continue;
        }
        // Meetings "01", "02", ... in order.
        EXPECT_EQ(entry->meeting, FixedDigits(static_cast<std::int64_t>(i) + 1, 2)) << cell;
      }
      EXPECT_GE(i, 2u) << cell;
      EXPECT_LE(i, 6u) << cell;
    }
  }
  EXPECT_EQ(anyOther, 1);
  EXPECT_EQ(MeetingShiftOf(kMeetingCalendar[1][0], "07"), 8);
  EXPECT_EQ(MeetingShiftOf(kMeetingCalendar[1][0], "01"), 0);
  EXPECT_EQ(MeetingShiftOf(kMeetingCalendar[0][0], "03"), std::nullopt);
  EXPECT_EQ(MeetingShiftOf(kMeetingCalendar[2][3], "04"), 16);
  EXPECT_THROW(MeetingShiftAt("01:+0, 02", 1), std::logic_error);
}

}  // namespace
}  // namespace meridax
