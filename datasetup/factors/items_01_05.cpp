// Items 1 to 5: year, racecourse with post position and track, the previous valid run
// against this one, weight carried and the prize money of earlier runs.

#include "datasetup/factors/factor_items.h"

namespace meridax {

namespace ex = extended_run;
using records::View;

std::string Factor01(ItemContext& c) {
  return std::string(View(c.ReadCurrent(), ex::RaceYear));
}

namespace {

// The course-kind digit of item 3, from the track code compared as text: "23" and "24"
// are the dirt it knows; the other dirt codes fall with the jump tracks.
constexpr TextBandValue<std::string_view> kPreviousKindBands[] = {{"00", "22", "1"},
                                                                  {"23", "24", "2"}};
constexpr std::string_view kPreviousKindOtherwise = "3";

std::string_view PreviousKind(std::string_view trackCode) {
  return TextBandOf(kPreviousKindBands, kPreviousKindOtherwise, trackCode);
}

}  // namespace

std::string Factor02(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string letter = RacecourseLetter(View(run, ex::RacecourseCode));
  const std::int16_t t = CInt16(View(run, ex::TrackCode));
  const std::string track(View(run, ex::TrackCode));
  const std::string frame(View(run, ex::FrameNumber));
  std::string code;
  if (t == 10) {
    code = letter + std::string(View(run, ex::HorseNumber)) + track;
  } else if (t == 11 || t == 12 || t == 17 || t == 18) {
    code = letter + frame + track;
  } else if (t == 21) {
    code = letter + frame + "17";
  } else if (t == 22) {
    code = letter + frame + "18";
  } else if (InRange(t, 23, 29)) {
    code = letter + frame;
  } else {
    code = track + track;
  }
  c.ReadCurrent();
  return code;
}

std::string Factor03(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string d(View(c.ReadCurrent(), ex::Distance));
  std::string p = "5000";
  std::string kind = "0";
  std::string grade;
  if (r != 1) {
    const std::string_view previous = c.Read(PreviousValidRun(c, r));
    const std::string_view category = View(previous, ex::DataCategory);
    kind =
        category == "A" || category == "B" ? category : PreviousKind(View(previous, ex::TrackCode));
    p = View(previous, ex::Distance);
    grade = View(previous, ex::GradeCode);
  }
  const std::string longer = Val(d) > Val(p) ? "2" : "1";
  const std::string_view run = c.ReadCurrent();
  if (r == 1) return std::string(View(run, ex::YoungestAgeCondition)) + "0" + longer;
  return grade + kind + (d == p ? "D" : longer);
}

std::string Factor04(ItemContext& c) {
  const std::string w(View(c.ReadCurrent(), ex::WeightCarried).substr(0, 2));
  c.ReadCurrent();
  return w == "55" ? "56" : w;
}

std::string Factor05(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  std::string code = "00";
  if (r != 1) {
    const std::int32_t s = EarlierPrizeSum(c, r - 1);
    const int tenLog = s == 0 ? 0 : FloorTenLog10(static_cast<double>(s));
    if (tenLog == 0) {
      code = "00";
    } else if (InRange(tenLog, 1, 66)) {
      code = DecimalText(tenLog);
    } else {
      code = "66";
    }
  }
  c.ReadCurrent();
  return code;
}

}  // namespace meridax
