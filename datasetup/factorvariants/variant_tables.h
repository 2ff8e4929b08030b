#pragma once

// The constant tables of the item variants: remaps of finished codes, the date windows of
// the course-layout digits and the meeting calendar of 2007 to 2013.

#include <optional>
#include <string_view>

#include "datasetup/factorvariants/variant_engines.h"

namespace meridax::variants {

// ---- Slot 1 ----

// Turf meeting codes (yymm & meeting & "00") that move to the month the meeting belongs to.
inline constexpr CodeRemap kTurfMeetingRemaps[] = {
    {"09090200", "09080200"},
    {"12050100", "12040100"},
    {"13050100", "13040100"},
    {"13080400", "13090400"},
};

// ---- Slot 2: course-layout digits by date windows ----

// The straight turf course (track code 10).
inline constexpr DateDigits kStraightLayoutByDate{
    {{{20050601, 20061231, "1"}, {20080101, 20110531, "1"}}}, "2"};

// Turf tracks 11 to 22 by racecourse; a racecourse without a row builds no code.
inline constexpr CourseDateDigits kTurfLayoutByDate[] = {
    {"01", {{}, "1"}},
    {"02", {{}, "1"}},
    {"03", {{{{20050601, 20061231, "1"}, {20080101, 20090531, "1"}}}, "2"}},
    {"04", {{{{20050601, 20061231, "1"}, {20080101, 20110531, "1"}}}, "2"}},
    {"10", {{{{20050601, 20061231, "1"}, {20080101, 20110531, "1"}}}, "2"}},
    {"05", {{{{20050601, 20061231, "1"}, {20080101, 20100101, "1"}}}, "2"}},
    {"06", {{{{20050601, 20061231, "1"}}}, "2"}},
    {"07", {{{{20050601, 20061231, "1"}, {20080101, 20120302, "1"}}}, "2"}},
    {"08", {{{{20050601, 20071231, "1"}, {20080101, 20110531, "1"}}}, "2"}},
    {"09",
     {{{{20050601, 20061201, "1"}, {20061202, 20071231, "2"}, {20080101, 20090531, "2"}}}, "3"}},
};

// Dirt tracks 23 to 29 by racecourse; any other racecourse has "1".
inline constexpr CourseDateDigits kDirtLayoutByDate[] = {
    {"07", {{{{20050601, 20061231, "1"}, {20080101, 20120302, "1"}}}, "2"}},
    {"09", {{{{20050601, 20061201, "1"}}}, "2"}},
};

// The later layouts: the straight turf course from 2010.
inline constexpr DateDigits kLaterStraightLayoutByDate{{{{20100101, 20110531, "1"}}}, "2"};

// Turf tracks 11 to 22 by racecourse in the later layouts.
inline constexpr CourseDateDigits kLaterTurfLayoutByDate[] = {
    {"01", {{}, "1"}},
    {"02", {{}, "1"}},
    {"03", {{}, "2"}},
    {"04", {{{{20100101, 20110531, "1"}}}, "2"}},
    {"08", {{{{20100101, 20110531, "1"}}}, "2"}},
    {"10", {{{{20100101, 20110531, "1"}}}, "2"}},
    {"05", {{{{20100101, 20100101, "1"}}}, "2"}},
    {"06", {{}, "2"}},
    {"07", {{{{20100101, 20120302, "1"}}}, "2"}},
    {"09", {{{{20080101, 20090531, "1"}}}, "2"}},
};

// Dirt tracks 23 to 29 in the later layouts; any other racecourse has "1".
inline constexpr CourseDateDigits kLaterDirtLayoutByDate[] = {
    {"07", {{{{20100101, 20120302, "1"}}}, "2"}},
};

// Dirt courses of the later layouts with a code of their own: `head` & "25" & HorseNumber,
// an empty head standing for the layout digit & RacecourseCode.
struct DirtCourseCode {
  std::string_view racecourse;
  int distance;
  std::string_view head;
};
inline constexpr DirtCourseCode kLaterDirtCourseCodes[] = {
    {"03", 1150, "106"}, {"04", 1200, ""}, {"06", 1200, ""}, {"05", 1600, "207"},
    {"07", 1400, ""},    {"08", 1400, ""}, {"09", 1400, ""}, {"09", 2000, ""},
};

// ---- Slot 4 ----

// Weight codes (weight & "0", 300 added for fillies and mares) merged into their
// neighbours.
inline constexpr CodeRemap kWeightCodeRemaps[] = {
    {"4800", "5000"}, {"4900", "5000"}, {"5100", "5000"}, {"5150", "5200"}, {"5250", "5300"},
    {"5550", "5500"}, {"5650", "5600"}, {"5750", "5700"}, {"5850", "5800"}, {"5900", "5800"},
    {"5950", "5800"}, {"6000", "5800"}, {"6050", "5800"}, {"6100", "5800"}, {"6150", "5800"},
    {"6200", "5800"}, {"6250", "5800"}, {"6300", "5800"}, {"6350", "5800"}, {"6400", "5800"},
    {"6500", "5800"}, {"6600", "5800"}, {"7900", "7800"}, {"8050", "8000"}, {"8150", "8200"},
    {"8350", "8300"}, {"8550", "8500"}, {"8650", "8500"}, {"8700", "8500"}, {"8750", "8500"},
    {"8800", "8500"}, {"8850", "8500"}, {"8900", "8500"}, {"9000", "8500"}, {"9100", "8500"},
    {"9150", "8500"}, {"9200", "8500"}, {"9250", "8500"},
};

// ---- Slot 5 ----

// The earlier prize classes: on the flat, off the flat.
inline constexpr ValueRemap kFlatPrizeClassRemaps[] = {
    {25, 30, "00030"}, {47, 47, "00048"}, {49, 49, "00050"}};
inline constexpr CodeRemap kOtherPrizeClassRemaps[] = {{"00050", "00049"}};

// Dam rates of 40 per cent or more share the top class.
inline constexpr ValueRemap kDamRateRemaps[] = {{110, 130, "19"}};

// ---- Slot 8 ----

// The sire's going rates: per cent codes of 10 to 30 and the code 9 of each going digit
// share one class, the going digit & "8".
inline constexpr ValueRemap kSireGoingRemaps[] = {
    {110, 130, "18"}, {19, 19, "18"}, {210, 230, "28"}, {29, 29, "28"},
    {310, 330, "38"}, {39, 39, "38"}, {410, 430, "48"}, {49, 49, "48"},
};

// The horse's distance rates below 4 per cent on the middle and long lines join the first.
inline constexpr CodeRemap kDistanceRateRemaps[] = {{"20", "10"}, {"30", "10"}};

// ---- Slot 13: the meeting calendar ----

// Per year (2007 to 2013) and racecourse ("01" to "10"): the meeting numbers held and the
// days each adds to its meeting day; "any other" stands for every meeting number not
// listed.
inline constexpr std::string_view kCalendarYears[] = {"2007", "2008", "2009", "2010",
                                                      "2011", "2012", "2013"};
// clang-format off
inline constexpr std::string_view kMeetingCalendar[7][10] = {
    // 2007
    {"01:+0, 02:+8", "01:+0, 02:+8", "01:+0, 02:+0, 03:+0, 04:+8", "01:+0, 02:+0, 03:+8",
     "01:+0, 02:+0, 03:+8, 04:+0, 05:+8", "01:+8, 02:+0, 03:+8, 04:+0, 05:+0",
     "01:+0, 02:+0, 03:+0", "01:+0, 02:+8, 03:+0, 04:+0, 05:+8",
     "01:+0, 02:+8, 03:+0, 04:+0, 05:+0", "01:+0, 02:+0, 03:+8"},
    // 2008
    {"01:+0, any other:+8", "01:+0, 02:+8", "01:+0, 02:+0, 03:+0, 04:+8", "01:+0, 02:+0, 03:+8",
     "01:+0, 02:+0, 03:+8, 04:+0, 05:+8", "01:+8, 02:+0, 03:+8, 04:+0, 05:+0",
     "01:+0, 02:+0, 03:+0", "01:+0, 02:+8, 03:+0, 04:+0, 05:+8",
     "01:+0, 02:+8, 03:+0, 04:+0, 05:+0", "01:+0, 02:+0, 03:+8"},
    // 2009
    {"01:+0, 02:+12", "01:+0, 02:+8", "01:+0, 02:+0, 03:+0", "01:+0, 02:+0, 03:+8, 04:+16",
     "01:+0, 02:+0, 03:+8, 04:+0, 05:+8", "01:+8, 02:+0, 03:+8, 04:+0, 05:+0",
     "01:+0, 02:+0, 03:+0, 04:+0", "01:+0, 02:+8, 03:+0, 04:+0, 05:+8",
     "01:+0, 02:+8, 03:+0, 04:+0, 05:+0", "01:+0, 02:+0, 03:+8"},
    // 2010
    {"01:+0, 02:+8", "01:+0, 02:+8", "01:+0, 02:+0, 03:+0", "01:+0, 02:+0, 03:+8",
     "01:+0, 02:+0, 03:+8, 04:+0, 05:+8", "01:+8, 02:+0, 03:+8, 04:+0, 05:+0",
     "01:+0, 02:+0, 03:+0, 04:+0", "01:+0, 02:+8, 03:+0, 04:+8, 05:+0, 06:+8",
     "01:+0, 02:+8, 03:+0, 04:+0, 05:+0", "01:+0, 02:+8, 03:+0"},
    // 2011
    {"01:+0, 02:+8", "01:+0, 02:+8", "01:+0, 02:+0, 03:+0", "01:+0, 02:+10, 03:+0, 04:+8, 05:+0",
     "01:+0, 02:+0, 03:+8, 04:+0, 05:+9", "01:+8, 02:+0, 03:+0, 04:+0, 05:+0",
     "01:+0, 02:+0, 03:+0, 04:+0", "01:+0, 02:+8, 03:+0, 04:+12, 05:+0, 06:+8",
     "01:+0, 02:+7, 03:+0, 04:+4, 05:+0, 06:+0", "01:+0, 02:+0, 03:+12, 04:+0, 05:+0"},
    // 2012
    {"01:+0, 02:+8", "01:+0, 02:+8", "01:+0, 02:+0, 03:+0", "01:+0, 02:+0, 03:+8",
     "01:+0, 02:+0, 03:+8, 04:+0, 05:+8", "01:+8, 02:+0, 03:+8, 04:+0, 05:+0",
     "01:+0, 02:+0, 03:+0, 04:+0", "01:+0, 02:+7, 03:+0, 04:+0, 05:+8",
     "01:+0, 02:+8, 03:+0, 04:+0, 05:+0", "01:+0, 02:+8, 03:+0"},
    // 2013
    {"01:+0, 02:+8", "01:+0, 02:+6, 03:+12, 04:+18", "01:+0, 02:+0, 03:+0", "01:+0, 02:+0, 03:+0",
     "01:+0, 02:+0, 03:+12, 04:+0, 05:+8", "01:+8, 02:+0, 03:+8, 04:+0, 05:+0",
     "01:+0, 02:+0, 03:+0, 04:+0", "01:+0, 02:+7, 03:+0, 04:+0, 05:+9",
     "01:+0, 02:+8, 03:+0, 04:+0, 05:+0", "01:+0, 02:+0"},
};
// clang-format on

// One entry of a calendar cell: a meeting number ("any other" for the rest) and its days.
struct MeetingShift {
  std::string_view meeting;
  int days;
};
// Entry i of a cell (from 0); none past its last entry. A cell that is not entries of the
// form "mm:+k" joined by ", " throws std::logic_error.
std::optional<MeetingShift> MeetingShiftAt(std::string_view cell, std::size_t i);
// The days a meeting number adds in a cell; none when the cell does not list it.
std::optional<int> MeetingShiftOf(std::string_view cell, std::string_view meeting);

}  // namespace meridax::variants
