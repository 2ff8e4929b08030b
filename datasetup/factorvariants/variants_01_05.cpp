// Variants of items 1 to 5: calendar and meeting codes, racecourse and course-layout
// codes, the previous run against this one, weight carried by sex, and prize money with the
// dam's and the horse's figures.

#include <algorithm>

#include "datasetup/factors/item_toolkit.h"
#include "datasetup/factorvariants/factor_variants.h"
#include "datasetup/factorvariants/variant_engines.h"
#include "datasetup/factorvariants/variant_tables.h"

namespace meridax {

namespace ex = extended_run;
using records::View;
using namespace variants;

namespace {

constexpr Segment kMonth = Left(ex::RaceMonthDay, 2);
constexpr std::string_view kNineBlanks = "         ";

// ---- Slot 1 ----

constexpr TextBandValue<Recipe> kMonthMeeting[] = {
    {"00", "29", Cat(kMonth, Fld(ex::MeetingNumber), Lit("0000"))}};
constexpr Recipe kYearBlanks = Cat(Fld(ex::RaceYear), Lit(kNineBlanks));

constexpr TextBandValue<Recipe> kMeetingBlanks[] = {
    {"00", "29", Cat(Fld(ex::MeetingNumber), Lit(kNineBlanks))}};
constexpr Recipe kYearMonth = Cat(Fld(ex::RaceYear), kMonth, Lit("0000"));

constexpr TrackBandValue<Recipe> kYearMonthMeeting[] = {
    {0, 29, Cat(Right(ex::RaceYear, 2), kMonth, Fld(ex::MeetingNumber), Lit("00"))}};
constexpr Recipe kYearZeros = Cat(Fld(ex::RaceYear), Lit("0000"));

constexpr TrackBandValue<Recipe> kRaceOfDay[] = {
    {0, 49, Cat(Fld(ex::RaceNumber), Fld(ex::MeetingDay))}};
constexpr TextBandValue<Recipe> kBirthMonth[] = {{"00", "06", Cat(Fld(ex::BirthMonth), Lit("00"))}};
constexpr Recipe kLateBirth = Cat(Lit("0600"));

// The code of the band of the run's track code as text, run r read again after.
template <std::size_t N>
std::string JoinByTrackText(ItemContext& c, const TextBandValue<Recipe> (&bands)[N],
                            const Recipe& otherwise) {
  const std::string_view run = c.ReadCurrent();
  std::string code = Join(run, TextBandOf(bands, otherwise, View(run, ex::TrackCode)));
  c.ReadCurrent();
  return code;
}

}  // namespace

std::string Factor01var1(ItemContext& c) {
  return JoinByTrackText(c, kMonthMeeting, kYearBlanks);
}

std::string Factor01var2(ItemContext& c) {
  return JoinByTrackText(c, kMeetingBlanks, kYearMonth);
}

std::string Factor01var3(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::int16_t t = TrackNumber(run);
  std::string code = Join(run, BandOf(kYearMonthMeeting, kYearZeros, t));
  if (InRange(t, 0, 22)) code = Remapped(std::move(code), kTurfMeetingRemaps);
  c.ReadCurrent();
  return code;
}

std::string Factor01var4(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const Recipe birth = TextBandOf(kBirthMonth, kLateBirth, View(run, ex::BirthMonth));
  return Join(run, BandOf(kRaceOfDay, birth, TrackNumber(run)));
}

std::string Factor01var5(ItemContext& c) {
  return Factor01var4(c);
}

// ---- Slot 2 ----

namespace {

// Off the flat tracks: the racecourse, the first three digits of the distance and the
// track, or one code for the long jump courses.
std::string OtherTrackCode(std::string_view run) {
  const std::string_view distance = View(run, ex::Distance);
  const std::string rc(View(run, ex::RacecourseCode));
  if (distance == "4100" || distance == "4250" || distance == "4260") {
    return "3" + rc + "28800" + "52";
  }
  return Join(run, Cat(Lit("3"), Fld(ex::RacecourseCode), Left(ex::Distance, 3), Lit("00"),
                       Fld(ex::TrackCode)));
}

// Value 0 the layout digit.
constexpr Recipe kLayoutCourse =
    Cat(Value(0), Fld(ex::RacecourseCode), Left(ex::Distance, 2), Fld(ex::TrackCode),
        Fld(ex::HorseNumber), Fld(ex::CourseDivision));
constexpr Recipe kLongCourseAt01 =
    Cat(Lit("1"), Fld(ex::RacecourseCode), Lit("33"), Fld(ex::TrackCode), Fld(ex::HorseNumber),
        Fld(ex::CourseDivision));
constexpr Recipe kLayoutDirtCourse = Cat(Value(0), Fld(ex::RacecourseCode), Left(ex::Distance, 2),
                                         Fld(ex::TrackCode), Fld(ex::HorseNumber), Lit("1"));

constexpr Recipe kLaterLayoutCourse = Cat(Value(0), Fld(ex::RacecourseCode), Fld(ex::TrackCode),
                                          Fld(ex::HorseNumber), Fld(ex::CourseDivision));
constexpr Recipe kLaterDirtCourse =
    Cat(Value(0), Fld(ex::RacecourseCode), Fld(ex::TrackCode), Fld(ex::HorseNumber));

// Values: 0 the racecourse letter, 1 the weekday class, 2 the frame class.
constexpr TrackBandValue<Recipe> kWeekdayFrame[] = {
    {10, 12, Cat(Value(0), Value(1), Value(2), Fld(ex::TrackCode))},
    {17, 18, Cat(Value(0), Value(1), Value(2), Fld(ex::TrackCode))},
    {21, 21, Cat(Value(0), Value(1), Value(2), Lit("17"))},
    {22, 22, Cat(Value(0), Value(1), Value(2), Lit("18"))},
    {23, 29, Cat(Value(0), Value(1), Value(2))},
};
constexpr Recipe kWeekdayFrameOther = Cat(Value(0), Fld(ex::TrackCode), Value(1));

// Values: 0 the racecourse letter, 1 the frame group.
constexpr Recipe kFrameGroupAt04 =
    Cat(Value(0), Value(1), Fld(ex::WeekdayCode), Lit("1"), Left(ex::Distance, 2),
        Fld(ex::CourseDivision), Right(ex::MeetingNumber, 1));
constexpr Recipe kFrameGroup = Cat(Value(0), Fld(ex::WeekdayCode), Value(1), Left(ex::Distance, 2),
                                   Fld(ex::CourseDivision), Right(ex::MeetingNumber, 1));
constexpr TrackBandValue<Recipe> kFrameGroupBands[] = {
    {10, 10,
     Cat(Value(0), Fld(ex::WeekdayCode), Fld(ex::FrameNumber), Fld(ex::CourseDivision),
         Right(ex::MeetingNumber, 1))},
    {11, 12, kFrameGroup},
    {17, 17, kFrameGroup},
    {21, 21, kFrameGroup},
    {18, 18,
     Cat(Value(0), Lit("1"), Fld(ex::WeekdayCode), Value(1), Left(ex::Distance, 2),
         Fld(ex::CourseDivision), Right(ex::MeetingNumber, 1))},
    {23, 29,
     Cat(Value(0), Fld(ex::FrameNumber), Fld(ex::Distance), Fld(ex::MeetingNumber),
         Fld(ex::WeekdayCode))},
};
constexpr Recipe kFrameGroupOther = Cat(Value(0), Left(ex::Distance, 3), Fld(ex::TrackCode));

constexpr TrackBandValue<std::string_view> kFrameGroups[] = {{1, 3, "1"}, {4, 6, "2"}};

}  // namespace

std::string Factor02var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view track = View(run, ex::TrackCode);
  const std::string_view rc = View(run, ex::RacecourseCode);
  const std::int32_t d = RunDateNumber(run);
  std::string code;
  if (track == "10") {
    code = Join(run, kLayoutCourse, {DigitOn(kStraightLayoutByDate, d)});
  } else if (TextInRange(track, "11", "22")) {
    if (rc == "01" && Val(View(run, ex::Distance)) > 1000) {
      code = Join(run, kLongCourseAt01);
    } else if (const auto g = CourseDigitOn(kTurfLayoutByDate, rc, d)) {
      code = Join(run, kLayoutCourse, {*g});
    }
  } else if (TextInRange(track, "23", "29")) {
    code = Join(run, kLayoutDirtCourse, {CourseDigitOn(kDirtLayoutByDate, rc, d).value_or("1")});
  } else {
    code = OtherTrackCode(run);
  }
  c.ReadCurrent();
  return code;
}

std::string Factor02var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string letter = RacecourseLetter(View(run, ex::RacecourseCode));
  const std::int16_t weekday = CInt16(View(run, ex::WeekdayCode));
  const std::string_view w = weekday == 1 || weekday == 2 ? View(run, ex::WeekdayCode) : "3";
  const std::string_view p = InRange(CInt16(View(run, ex::FrameNumber)), 1, 4) ? "1" : "2";
  const std::string code =
      Join(run, BandOf(kWeekdayFrame, kWeekdayFrameOther, TrackNumber(run)), {letter, w, p});
  c.ReadCurrent();
  return code;
}

std::string Factor02var3(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view rc = View(run, ex::RacecourseCode);
  const std::int16_t t = TrackNumber(run);
  const std::int32_t d = RunDateNumber(run);
  const double distance = Val(View(run, ex::Distance));
  std::string code;
  if (t == 10) {
    code = Join(run, kLaterLayoutCourse, {DigitOn(kLaterStraightLayoutByDate, d)});
  } else if (InRange(t, 11, 22)) {
    if (rc == "06" && distance > 3600) {
      code = Join(run, Cat(Lit("2"), Fld(ex::RacecourseCode), Lit("17"), Fld(ex::HorseNumber),
                           Fld(ex::CourseDivision)));
    } else if (const auto g = CourseDigitOn(kLaterTurfLayoutByDate, rc, d)) {
      code = Join(run, kLaterLayoutCourse, {*g});
    }
  } else if (InRange(t, 23, 29)) {
    const std::string_view g = CourseDigitOn(kLaterDirtLayoutByDate, rc, d).value_or("1");
    code = Join(run, kLaterDirtCourse, {g});
    for (const DirtCourseCode& own : kLaterDirtCourseCodes) {
      if (own.racecourse == rc && own.distance == distance) {
        const std::string head =
            own.head.empty() ? std::string(g) + std::string(rc) : std::string(own.head);
        code = head + "25" + std::string(View(run, ex::HorseNumber));
        break;
      }
    }
  } else {
    code = OtherTrackCode(run);
  }
  c.ReadCurrent();
  return code;
}

std::string Factor02var4(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string letter = RacecourseLetter(View(run, ex::RacecourseCode));
  const std::string_view group =
      BandOf(kFrameGroups, std::string_view("3"), int{CInt16(View(run, ex::FrameNumber))});
  const std::int16_t t = TrackNumber(run);
  const Recipe& recipe = t == 11 && View(run, ex::RacecourseCode) == "04"
                             ? kFrameGroupAt04
                             : BandOf(kFrameGroupBands, kFrameGroupOther, t);
  const std::string code = Join(run, recipe, {letter, group});
  c.ReadCurrent();
  return code;
}

// ---- Slot 3 ----

namespace {

// Kind digit: "1" turf ("10" to "22" as text), "2" dirt ("23" to "29"), "3" any other.
constexpr TextBandValue<std::string_view> kKindDigits[] = {{"10", "22", "1"}, {"23", "29", "2"}};

std::string_view KindDigit(std::string_view run) {
  return TextBandOf(kKindDigits, std::string_view("3"), View(run, ex::TrackCode));
}

// Going class: on dirt "1" for dirt going "1" to "3"; elsewhere "1" for turf going "1".
constexpr TextBandValue<std::string_view> kDirtGoingClass[] = {{"1", "3", "1"}};
constexpr TextBandValue<std::string_view> kTurfGoingClass[] = {{"1", "1", "1"}};

std::string_view GoingClass(std::string_view run) {
  if (KindDigit(run) == "2") {
    return TextBandOf(kDirtGoingClass, std::string_view("2"), View(run, ex::DirtGoingCode));
  }
  return TextBandOf(kTurfGoingClass, std::string_view("2"), View(run, ex::TurfGoingCode));
}

// "1" when the distances are the same text, else "2" when the previous is the longer; the
// texts convert only when they differ.
std::string_view DistanceChange(std::string_view d0, std::string_view d1) {
  if (d0 == d1) return "1";
  return CInt16(d1) > CInt16(d0) ? "2" : "1";
}

constexpr TextBandValue<std::string_view> kPositionClass[] = {{"00", "00", "0"}, {"01", "03", "1"}};
std::string_view PositionClass(std::string_view position) {
  return TextBandOf(kPositionClass, std::string_view("2"), position);
}

constexpr TextBandValue<std::string_view> kPlaceClass[] = {
    {"00", "00", "3"}, {"99", "99", "3"}, {"  ", "  ", "3"}, {"01", "03", "1"}, {"04", "06", "2"}};
constexpr TextBandValue<std::string_view> kLateCornerClass[] = {
    {"00", "00", "2"}, {"99", "99", "2"}, {"  ", "  ", "2"}, {"01", "05", "1"}};

// A lap or furlong time in single precision; "000", "999" and blanks stand for none (0).
float LapTime(std::string_view field) {
  if (field == "000" || field == "999" || field == "   ") return 0;
  return static_cast<float>(Val(field));
}

float TimeRatio(float a, float b) {
  return a == 0 || b == 0 ? 1.0f : a / b;
}

constexpr std::string_view RatioClass(float x) {
  if (x > 1.03f) return "4";
  if (x >= 1.003f) return "3";
  if (x >= 0.997f) return "2";
  if (x >= 0.97f) return "1";
  return "0";
}

bool IsCorrectedCategory(std::string_view category) {
  return category == "A" || category == "B";
}

}  // namespace

std::string Factor03original(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string_view run = c.ReadCurrent();
  const std::string k0(KindDigit(run));
  if (r == 1) return k0 + "0000000";
  const std::string d0(View(run, ex::Distance));
  const std::string_view before = c.Read(r - 1);
  const std::string_view df = DistanceChange(d0, View(before, ex::Distance));
  std::string corners;
  for (int k = 1; k <= 4; ++k) corners += PositionClass(View(before, ex::CornerPositions.At(k)));
  const std::string_view arrival = PositionClass(View(before, ex::ArrivalOrder));
  std::string code =
      arrival == "0" || corners == "0000"
          ? k0 + "0000000"
          : k0 + std::string(KindDigit(before)) + std::string(df) + corners + std::string(arrival);
  c.ReadCurrent();
  return code;
}

std::string Factor03Agari(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string_view run = c.ReadCurrent();
  const std::string k0(KindDigit(run));
  const std::string g0(GoingClass(run));
  if (r == 1) return k0 + k0 + "1" + "0" + "1" + "2" + "2" + "2";
  const std::string d0(View(run, ex::Distance));
  const std::string_view before = c.Read(r - 1);
  const std::string_view k1 = KindDigit(before);
  const std::string_view g1 = GoingClass(before);
  const std::string_view ac = TextInRange(View(before, ex::ArrivalOrder), "01", "03") ? "1" : "2";
  const std::string_view df = DistanceChange(d0, View(before, ex::Distance));
  const std::string_view gc = g1 != g0 ? "1" : "0";
  float t3 = LapTime(View(before, ex::Last3FurlongTime));
  if (TextInRange(View(before, ex::TrackCode), "49", "59")) t3 *= 3;
  const float a = LapTime(View(before, ex::Last3FurlongLapTime));
  const float b = LapTime(View(before, ex::First4FurlongLapTime));
  const float last4 = LapTime(View(before, ex::Last4FurlongLapTime));
  std::string code = k0 + std::string(k1) + std::string(df) + std::string(gc) + std::string(g1) +
                     std::string(RatioClass(TimeRatio(t3, a))) +
                     std::string(RatioClass(TimeRatio(b, last4))) + std::string(ac);
  c.ReadCurrent();
  return code;
}

std::string Factor03var1(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string_view run = c.ReadCurrent();
  const std::string k0(KindDigit(run));
  const std::string g0(GoingClass(run));
  if (r == 1) return k0 + "00000000";
  const std::string d0(View(run, ex::Distance));
  const std::string_view before = c.Read(r - 1);
  const std::string_view category = View(before, ex::DataCategory);
  const bool corrected = IsCorrectedCategory(category);
  const std::string_view k1 = corrected ? category : KindDigit(before);
  const std::string_view g1 = GoingClass(before);
  const std::string_view pc =
      TextBandOf(kPlaceClass, std::string_view("3"),
                 View(before, corrected ? ex::FinishPosition : ex::ArrivalOrder));
  const std::string_view c3 =
      TextBandOf(kLateCornerClass, std::string_view("2"), View(before, ex::CornerPositions.At(3)));
  const std::string_view c4 =
      TextBandOf(kLateCornerClass, std::string_view("2"), View(before, ex::CornerPositions.At(4)));
  const std::string_view gc = g1 != g0 ? "2" : "1";
  const std::string_view d1 = View(before, ex::Distance);
  const auto unknown = [](std::string_view d) { return d == "0000" || d == "9999" || d == "    "; };
  std::string_view df = "0";
  if (!unknown(d0) && !unknown(d1)) df = d0 == d1 || CInt16(d1) - CInt16(d0) < 1 ? "1" : "2";
  std::string code = k0 + std::string(k1) + std::string(View(before, ex::GradeCode)) +
                     std::string(df) + std::string(gc) + std::string(g1) + std::string(c3) +
                     std::string(c4) + std::string(pc);
  c.ReadCurrent();
  return code;
}

// ---- Slot 4 ----

std::string Factor04var1(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view sex = View(run, ex::SexCode);
  const std::string_view w3 = View(run, ex::WeightCarried);
  std::string code = sex == "1" || sex == "3" ? std::string(w3) : DecimalText(CInt16(w3) + 300);
  if (code == "860" || code == "865") code = "560";
  code += "0";
  code = Remapped(std::move(code), kWeightCodeRemaps);
  c.ReadCurrent();
  return code;
}

// ---- Slot 5 ----

std::string Factor05var1(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  c.ReadCurrent();
  std::string code = "00000";
  if (r != 1) {
    const std::int32_t n = r - 1;
    const std::int32_t s = EarlierPrizeSum(c, n);
    if (s != 0) {
      const int tenLog = std::clamp(FloorTenLog10(static_cast<double>(s) / n), 25, 50);
      code = FixedDigits(tenLog, 5);
    } else {
      code = n <= 2 ? "00000" : n == 3 ? "00003" : n == 4 ? "00004" : "00005";
    }
  }
  const std::int16_t t = TrackNumber(c.ReadCurrent());
  return InRange(t, 0, 29) ? Remapped(std::move(code), kFlatPrizeClassRemaps)
                           : Remapped(std::move(code), kOtherPrizeClassRemaps);
}

namespace {

constexpr TrackBandValue<records::FieldRef> kDamRateLines[] = {{0, 49, parent_stat::JraTop3Rate}};

std::optional<RateLine> DamRateLine(std::string_view run) {
  return RateLine{BandOf(kDamRateLines, parent_stat::LineTop3Rates.At(7), TrackNumber(run)), "1"};
}

constexpr RateFigure kDamRate{kDamStats, DamRateLine, RateScale::kSteps4};

}  // namespace

std::string Factor05var2(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  const std::string_view dam = View(run, ex::AncestorBlocks_BreedingNumber.In(2));
  std::string code = RateFigureCode(c, run, dam, kDamRate).value_or("10");
  code = Remapped(std::move(code), kDamRateRemaps);
  c.ReadCurrent();
  return code;
}

namespace {

// The horse's starts and prize money on the flat (0 to 49) and over jumps.
constexpr TrackBandValue<PrizeFields> kHorsePrizeBands[] = {
    {0, 49, {horse_stat::JraStarts, horse_stat::FlatPrizeTotal}}};
constexpr PrizeFields kHorseJumpPrize{horse_stat::JumpStarts, horse_stat::JumpPrizeTotal};

}  // namespace

std::string Factor05var3(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  std::string code = "10";
  const std::string_view horse = View(run, ex::HorseId);
  if (!IsMissingCode(horse)) {
    if (const auto stat = FirstStat(c, kHorseStats, horse)) {
      const PrizeFields fields = BandOf(kHorsePrizeBands, kHorseJumpPrize, TrackNumber(run));
      const double starts = Val(View(*stat, fields.runs));
      const double prize = Val(View(*stat, fields.prize));
      code = starts == 0 || prize == 0 ? "00" : FixedDigits(FloorTenLog10(prize), 2);
    }
  }
  c.ReadCurrent();
  return code;
}

}  // namespace meridax
