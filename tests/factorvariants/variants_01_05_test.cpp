#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datasetup/factors/factor_items.h"
#include "datasetup/factorvariants/factor_variants.h"
#include "tests/factors/ex_fixture.h"
#include "tests/factorvariants/variant_cases.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::CourseRun;
using testing::ExFixture;
using testing::ExpectCodes;
using testing::ExRun;
using testing::FieldValue;
using testing::MakeRecord;
using testing::RunCase;
using testing::RunOf;
constexpr std::string_view kAbandoned = testing::kAbandoned;

TEST(Slot1Variants, CalendarAndMeetingCodes) {
  ExFixture f;
  const FieldValue year{ex::RaceYear, "2009"}, march{ex::RaceMonthDay, "0315"},
      september{ex::RaceMonthDay, "0913"}, meeting{ex::MeetingNumber, "02"};
  ExpectCodes(Factor01var1, "Factor01var1",
              {{{year, march, meeting, {ex::TrackCode, "17"}}, "03020000"},
               {{year, march, meeting, {ex::TrackCode, "54"}}, "2009         "},
               {{year, march, meeting, {ex::TrackCode, "  "}}, "2009         "}},
              f);
  ExpectCodes(Factor01var2, "Factor01var2",
              {{{year, march, meeting, {ex::TrackCode, "29"}}, "02         "},
               {{year, march, meeting, {ex::TrackCode, "30"}}, "2009030000"}},
              f);
  ExpectCodes(Factor01var3, "Factor01var3",
              {{{year, september, meeting, {ex::TrackCode, "17"}}, "09080200"},
               {{year, september, meeting, {ex::TrackCode, "24"}}, "09090200"},
               {{year, september, meeting, {ex::TrackCode, "51"}}, "20090000"},
               {{year, march, meeting, {ex::TrackCode, "10"}}, "09030200"},
               {{year, march, meeting, {ex::TrackCode, "  "}}, kAbandoned}},
              f);
  const FieldValue race{ex::RaceNumber, "11"}, day{ex::MeetingDay, "08"};
  const std::vector<RunCase> raceOfDay = {
      {{race, day, {ex::BirthMonth, "08"}, {ex::TrackCode, "51"}}, "0600"},
      {{race, day, {ex::BirthMonth, "02"}, {ex::TrackCode, "51"}}, "0200"},
      {{race, day, {ex::BirthMonth, "06"}, {ex::TrackCode, "-1"}}, "0600"},
      {{race, day, {ex::BirthMonth, "02"}, {ex::TrackCode, "49"}}, "1108"},
      {{race, day, {ex::TrackCode, "X1"}}, kAbandoned}};
  ExpectCodes(Factor01var4, "Factor01var4", raceOfDay, f);
  ExpectCodes(Factor01var5, "Factor01var5", raceOfDay, f);
}

TEST(Factor02var2, LetterWeekdayAndFrame) {
  ExFixture f;
  const auto at = [](std::string_view rc, std::string_view track, std::string_view frame,
                     std::string_view weekday) {
    return std::vector<FieldValue>{{ex::RacecourseCode, rc},
                                   {ex::TrackCode, track},
                                   {ex::FrameNumber, frame},
                                   {ex::WeekdayCode, weekday}};
  };
  ExpectCodes(Factor02var2, "Factor02var2",
              {{at("10", "24", "5", "6"), "A32"},
               {at("05", "11", "3", "1"), "51111"},
               {at("05", "21", "4", "2"), "52117"},
               {at("05", "22", "5", "2"), "52218"},
               {at("A0", "54", "5", "2"), "B542"},
               {at("05", "11", " ", "1"), kAbandoned},
               {at("05", "11", "3", " "), kAbandoned}},
              f);
}

TEST(Factor02var4, FrameGroupsByTrack) {
  ExFixture f;
  const auto at = [](std::string_view rc, std::string_view track, std::string_view frame) {
    return std::vector<FieldValue>{{ex::RacecourseCode, rc}, {ex::TrackCode, track},
                                   {ex::FrameNumber, frame}, {ex::WeekdayCode, "6"},
                                   {ex::Distance, "1800"},   {ex::CourseDivision, "A "},
                                   {ex::MeetingNumber, "03"}};
  };
  ExpectCodes(Factor02var4, "Factor02var4",
              {{at("05", "10", "7"), "567A 3"},
               {at("04", "11", "5"), "426118A 3"},
               {at("05", "11", "5"), "56218A 3"},
               {at("05", "21", "8"), "56318A 3"},
               {at("05", "18", "2"), "516118A 3"},
               {at("05", "24", "2"), "521800036"},
               {at("05", "22", "2"), "518022"},
               {at("05", "22", " "), kAbandoned}},
              f);
}

TEST(Factor02var1, LayoutDigitsByDateAndRacecourse) {
  ExFixture f;
  ExpectCodes(Factor02var1, "Factor02var1",
              {{CourseRun("09", "17", "20070610"), "209161707B "},
               {CourseRun("09", "17", "20100610"), "309161707B "},
               {CourseRun("09", "17", "20061201"), "109161707B "},
               {CourseRun("A0", "17", "20070610"), ""},
               {CourseRun("01", "17", "20100610", "1200"), "101331707B "},
               {CourseRun("01", "17", "20100610", "1000"), "101101707B "},
               {CourseRun("05", "10", "20110531"), "105161007B "},
               {CourseRun("05", "10", "20110601"), "205161007B "},
               {CourseRun("07", "24", "20120303"), "2071624071"},
               {CourseRun("09", "24", "20061201"), "1091624071"},
               {CourseRun("03", "24", "20200101"), "1031624071"},
               {CourseRun("05", "54", "20100610", "4250"), "3052880052"},
               {CourseRun("05", "54", "20100610", "3110"), "3053110054"},
               {CourseRun("05", "  ", "20100610", "3110"), "30531100  "}},
              f);
}

TEST(Factor02var3, LaterLayoutsAndOwnDirtCodes) {
  ExFixture f;
  ExpectCodes(Factor02var3, "Factor02var3",
              {{CourseRun("05", "17", "20100101"), "1051707B "},
               {CourseRun("05", "17", "20100102"), "2051707B "},
               {CourseRun("06", "17", "20100102", "3700"), "2061707B "},
               {CourseRun("06", "11", "20100102", "3700"), "2061707B "},
               {CourseRun("06", "11", "20100102", "3600"), "2061107B "},
               {CourseRun("A0", "17", "20100101"), ""},
               {CourseRun("04", "10", "20110531"), "1041007B "},
               {CourseRun("03", "24", "20100101", "1150"), "1062507"},
               {CourseRun("05", "24", "20100101", "1600"), "2072507"},
               {CourseRun("07", "24", "20120303", "1400"), "2072507"},
               {CourseRun("07", "24", "20120302", "1800"), "1072407"},
               {CourseRun("09", "26", "20200101", "2000"), "1092507"},
               {CourseRun("08", "26", "20200101", "2000"), "1082607"},
               {CourseRun("05", "09", "20100101", "4260"), "3052880052"},
               {CourseRun("05", "  ", "20100101"), kAbandoned}},
              f);
}

// Run 2 after run 1, both given.
std::string PreviousCode(ExFixture& f, ItemRoutine routine, const std::vector<FieldValue>& before,
                         const std::vector<FieldValue>& now) {
  f.SetRuns({RunOf(before), RunOf(now)});
  return f.Code(routine, 2);
}

TEST(Factor03original, PreviousRunAgainstThisOne) {
  ExFixture f({ExRun({{ex::TrackCode, "24"}})});
  EXPECT_EQ(f.Code(Factor03original, 1), "20000000");
  const std::vector<FieldValue> now = {{ex::TrackCode, "17"}, {ex::Distance, "1600"}};
  const auto before = [](std::string_view arrival, std::string_view distance) {
    return std::vector<FieldValue>{{ex::TrackCode, "26"},
                                   {ex::Distance, distance},
                                   {ex::ArrivalOrder, arrival},
                                   {ex::CornerPositions.At(1), "01"},
                                   {ex::CornerPositions.At(2), "00"},
                                   {ex::CornerPositions.At(3), "04"},
                                   {ex::CornerPositions.At(4), "03"}};
  };
  EXPECT_EQ(PreviousCode(f, Factor03original, before("05", "1800"), now), "12210212");
  EXPECT_EQ(PreviousCode(f, Factor03original, before("02", "1600"), now), "12110211");
  EXPECT_EQ(PreviousCode(f, Factor03original, before("00", "1800"), now), "10000000");
  EXPECT_EQ(PreviousCode(f, Factor03original, before("03", "    "), now), kAbandoned);
  EXPECT_EQ(
      PreviousCode(f, Factor03original,
                   {{ex::TrackCode, "05"}, {ex::ArrivalOrder, "01"}, {ex::Distance, "1600"}}, now),
      "13122221");
}

TEST(Factor03Agari, KindsGoingAndLapRatios) {
  ExFixture f({ExRun({{ex::TrackCode, "17"}})});
  EXPECT_EQ(f.Code(Factor03Agari, 1), "11101222");
  const std::vector<FieldValue> now = {
      {ex::TrackCode, "24"}, {ex::DirtGoingCode, "3"}, {ex::Distance, "1800"}};
  const auto before = [](std::string_view track, std::string_view last3, std::string_view lap3) {
    return std::vector<FieldValue>{{ex::TrackCode, track},
                                   {ex::Distance, "1600"},
                                   {ex::TurfGoingCode, "2"},
                                   {ex::ArrivalOrder, "03"},
                                   {ex::Last3FurlongTime, last3},
                                   {ex::Last3FurlongLapTime, lap3},
                                   {ex::First4FurlongLapTime, "480"},
                                   {ex::Last4FurlongLapTime, "470"}};
  };
  // 350 / 340 = 1.029 (class 3), 480 / 470 = 1.021 (class 3); turf going "2" against dirt
  // going "3" (class 1) differs.
  EXPECT_EQ(PreviousCode(f, Factor03Agari, before("17", "350", "340"), now), "21112331");
  // A lap total of "000" makes the ratio 1.
  EXPECT_EQ(PreviousCode(f, Factor03Agari, before("17", "350", "000"), now), "21112231");
  // Off the flat the last 3F time counts three times: 3 x 120 / 340 = 1.059.
  EXPECT_EQ(PreviousCode(f, Factor03Agari, before("54", "120", "340"), now), "23112431");
  EXPECT_EQ(PreviousCode(f, Factor03Agari, before("17", "330", "340"), now), "21112131");
  EXPECT_EQ(PreviousCode(f, Factor03Agari, before("17", "300", "340"), now), "21112031");
}

TEST(Factor03var1, CorrectedCategoryGradeAndPlaces) {
  ExFixture f({ExRun({{ex::TrackCode, "54"}})});
  EXPECT_EQ(f.Code(Factor03var1, 1), "300000000");
  const std::vector<FieldValue> now = {
      {ex::TrackCode, "17"}, {ex::TurfGoingCode, "1"}, {ex::Distance, "1600"}};
  const auto before = [](std::string_view category, std::string_view distance) {
    return std::vector<FieldValue>{{ex::DataCategory, category},
                                   {ex::TrackCode, "24"},
                                   {ex::GradeCode, "C"},
                                   {ex::DirtGoingCode, "4"},
                                   {ex::Distance, distance},
                                   {ex::ArrivalOrder, "02"},
                                   {ex::FinishPosition, "05"},
                                   {ex::CornerPositions.At(3), "05"},
                                   {ex::CornerPositions.At(4), "99"}};
  };
  EXPECT_EQ(PreviousCode(f, Factor03var1, before("7", "1800"), now), "12C222121");
  EXPECT_EQ(PreviousCode(f, Factor03var1, before("B", "1400"), now), "1BC122122");
  EXPECT_EQ(PreviousCode(f, Factor03var1, before("7", "9999"), now), "12C022121");
  EXPECT_EQ(PreviousCode(f, Factor03var1, before("7", "1600"), now), "12C122121");
  EXPECT_EQ(PreviousCode(f, Factor03var1, before("7", "16X0"), now), kAbandoned);
}

TEST(Factor04var1, WeightBySex) {
  ExFixture f;
  const auto at = [](std::string_view sex, std::string_view weight) {
    return std::vector<FieldValue>{{ex::SexCode, sex}, {ex::WeightCarried, weight}};
  };
  ExpectCodes(Factor04var1, "Factor04var1",
              {{at("1", "560"), "5600"},
               {at("2", "530"), "8300"},
               {at("2", "560"), "5600"},
               {at("2", "565"), "5600"},
               {at("1", "480"), "5000"},
               {at("1", "620"), "5800"},
               {at("3", "555"), "5500"},
               {at("2", "590"), "8500"},
               {at("1", "   "), "   0"},
               {at("2", "   "), kAbandoned}},
              f);
}

TEST(Factor05var1, EarlierPrizeClasses) {
  const auto prize = [](std::string_view money) {
    return ExRun({{ex::PrizeMoney, money}, {ex::TrackCode, "17"}});
  };
  ExFixture f({prize("00000000"), prize("00000000"), prize("00000000"), prize("00000000"),
               prize("00000000"), prize("00000000")});
  struct Case {
    std::int32_t r;
    std::string_view code;
  };
  for (const Case c : {Case{1, "00000"}, Case{2, "00000"}, Case{3, "00000"}, Case{4, "00003"},
                       Case{5, "00004"}, Case{6, "00005"}}) {
    EXPECT_EQ(f.Code(Factor05var1, c.r), c.code) << c.r;
  }
  // An average of 500 (C = 26) and 1000 (C = 30) both give "00030"; above 10^5, C is 50.
  f.SetRuns({prize("00001000"), prize("00000000"), prize("00000000")});
  EXPECT_EQ(f.Code(Factor05var1, 3), "00030");
  f.SetRuns({prize("00001000"), prize("00000000")});
  EXPECT_EQ(f.Code(Factor05var1, 2), "00030");
  f.SetRuns({prize("99999999"), ExRun({{ex::TrackCode, "54"}})});
  EXPECT_EQ(f.Code(Factor05var1, 2), "00049");
  f.SetRuns({prize("99999999"), prize("00000000")});
  EXPECT_EQ(f.Code(Factor05var1, 2), "00050");
  // 10^4.7 = 50119: C = 47 becomes 48.
  f.SetRuns({prize("00050119"), prize("00000000")});
  EXPECT_EQ(f.Code(Factor05var1, 2), "00048");
  f.SetRuns({prize("        "), prize("00000000")});
  EXPECT_EQ(f.Code(Factor05var1, 2), kAbandoned);
  // 22 runs of 99999999 pass the signed 32-bit range.
  f.SetRuns(std::vector<std::string>(23, prize("99999999")));
  EXPECT_EQ(f.Code(Factor05var1, 22), "00050");
  EXPECT_EQ(f.Code(Factor05var1, 23), kAbandoned);
}

std::string ParentRates(std::string_view number, std::string_view jra, std::string_view jump) {
  return MakeRecord(402, {{parent_stat::ParentBreedingNumber, number},
                          {parent_stat::JraTop3Rate, jra},
                          {parent_stat::LineTop3Rates.At(7), jump}});
}

TEST(Factor05var2, DamRateFromTheOutsideFile) {
  ExFixture f;
  f.WriteStats("OPTION1N\\HAHAUMA.dat", {ParentRates("1234567890", "020000", "000000"),
                                         ParentRates("2234567890", "039999", "050000"),
                                         ParentRates("0000000000", "008000", "000000")});
  const auto at = [](std::string_view dam, std::string_view track) {
    return std::vector<FieldValue>{{ex::AncestorBlocks_BreedingNumber.In(2), dam},
                                   {ex::TrackCode, track}};
  };
  ExpectCodes(Factor05var2, "Factor05var2",
              {{at("1234567890", "17"), "15"},
               {at("1234567890", "51"), "10"},
               {at("2234567890", "49"), "19"},
               {at("2234567890", "50"), "19"},
               {at("0000000000", "17"), "12"},
               {at("9999999999", "  "), "10"},
               {at("1234567890", "  "), kAbandoned}},
              f);
}

TEST(Factor05var3, HorsePrizeOverStarts) {
  ExFixture f;
  f.WriteStats("OPTION1N\\KYOSOBA.dat",
               {MakeRecord(228, {{horse_stat::HorseId, "2016100001"},
                                 {horse_stat::JraStarts, "000005"},
                                 {horse_stat::FlatPrizeTotal, "000001000"},
                                 {horse_stat::JumpStarts, "000000"},
                                 {horse_stat::JumpPrizeTotal, "000000500"}})});
  const auto at = [](std::string_view horse, std::string_view track) {
    return std::vector<FieldValue>{{ex::HorseId, horse}, {ex::TrackCode, track}};
  };
  ExpectCodes(Factor05var3, "Factor05var3",
              {{at("2016100001", "17"), "30"},
               {at("2016100001", "54"), "00"},
               {at("2016109999", "17"), "10"},
               {at("0000000000", "  "), "10"},
               {at("2016100001", "  "), kAbandoned}},
              f);
}

// Files a variant looks up stay the step's: a variant that fails after a match leaves the
// next look-up working, and the step's end releases them.
TEST(Slot5Variants, AFailureAfterAMatchLeavesTheFileToTheStep) {
  ExFixture f({ExRun({{ex::HorseId, "2016100001"}, {ex::TrackCode, "  "}}),
               ExRun({{ex::HorseId, "2016100001"}, {ex::TrackCode, "17"}})});
  f.WriteStats("OPTION1N\\KYOSOBA.dat",
               {MakeRecord(228, {{horse_stat::HorseId, "2016100001"},
                                 {horse_stat::JraStarts, "000005"},
                                 {horse_stat::FlatPrizeTotal, "000001000"}})});
  EXPECT_EQ(f.Code(Factor05var3, 1), kAbandoned);
  EXPECT_EQ(f.Code(Factor05var3, 2), "30");
  f.stats.Clear();
  f.WriteStats("OPTION1N\\KYOSOBA.dat", {});
  EXPECT_EQ(f.Code(Factor05var3, 2), "10");
}

}  // namespace
}  // namespace meridax
