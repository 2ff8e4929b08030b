#pragma once

// Race (RA) and runner (SE) records; both begin with the record header and the race key.
// Stored and delivered layouts are the same.

#include "records/layout.h"

namespace meridax::records {

inline constexpr FieldSpec kRaceLayoutFields[] = {
    F("RecordSpec", 1, 2),
    F("DataCategory", 3, 1),
    F("CreatedYear", 4, 4),
    F("CreatedMonth", 8, 2),
    F("CreatedDay", 10, 2),
    F("RaceYear", 12, 4),
    F("RaceMonthDay", 16, 4),
    F("RacecourseCode", 20, 2),
    F("MeetingNumber", 22, 2),
    F("MeetingDay", 24, 2),
    F("RaceNumber", 26, 2),
    F("WeekdayCode", 28, 1),
    F("SpecialRaceNumber", 29, 4),
    F("RaceName", 33, 60),
    F("RaceSubtitle", 93, 60),
    F("RaceNameParenthesis", 153, 60),
    F("RaceNameEnglish", 213, 120),
    F("RaceSubtitleEnglish", 333, 120),
    F("RaceNameParenthesisEnglish", 453, 120),
    F("RaceShortName10", 573, 20),
    F("RaceShortName6", 593, 12),
    F("RaceShortName3", 605, 6),
    F("RaceNameKind", 611, 1),
    F("GradedRaceEdition", 612, 3),
    F("GradeCode", 615, 1),
    F("GradeCodeBefore", 616, 1),
    F("RaceConditionKind", 617, 2),
    F("RaceConditionSymbol", 619, 3),
    F("RaceWeightKind", 622, 1),
    F("RaceAgeConditions", 623, 3, 5),
    F("ConditionName", 638, 60),
    F("Distance", 698, 4),
    F("DistanceBefore", 702, 4),
    F("TrackCode", 706, 2),
    F("TrackCodeBefore", 708, 2),
    F("CourseDivision", 710, 2),
    F("CourseDivisionBefore", 712, 2),
    F("PrizeMoneyByPlace", 714, 8, 7),
    F("PrizeMoneyByPlaceBefore", 770, 8, 5),
    F("AddedMoneyByPlace", 810, 8, 5),
    F("AddedMoneyByPlaceBefore", 850, 8, 3),
    F("PostTime", 874, 4),
    F("PostTimeBefore", 878, 4),
    F("RegisteredCount", 882, 2),
    F("StarterCount", 884, 2),
    F("FinisherCount", 886, 2),
    F("WeatherCode", 888, 1),
    F("TurfGoingCode", 889, 1),
    F("DirtGoingCode", 890, 1),
    F("FurlongLeaderTimes", 891, 3, 25),
    F("JumpMileTime", 966, 4),
    F("First3FurlongLapTime", 970, 3),
    F("First4FurlongLapTime", 973, 3),
    F("Last3FurlongLapTime", 976, 3),
    F("Last4FurlongLapTime", 979, 3),
    G("CornerPassings", 982, 72, 4, 3),
    F("CornerPassings.CornerNumber", 0, 1),
    F("CornerPassings.LapCount", 1, 1),
    F("CornerPassings.PassingOrder", 2, 70),
    F("RecordUpdateCode", 1270, 1),
    F("LineEnd", 1271, 2),
};
inline constexpr Layout kRaceLayout{"RA", kRaceLayoutFields, 1272, 1272};
static_assert(LayoutIsValid(kRaceLayout));

namespace ra {
inline constexpr FieldRef RecordSpec = FieldOf(kRaceLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kRaceLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kRaceLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kRaceLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kRaceLayout, "CreatedDay");
inline constexpr FieldRef RaceYear = FieldOf(kRaceLayout, "RaceYear");
inline constexpr FieldRef RaceMonthDay = FieldOf(kRaceLayout, "RaceMonthDay");
inline constexpr FieldRef RacecourseCode = FieldOf(kRaceLayout, "RacecourseCode");
inline constexpr FieldRef MeetingNumber = FieldOf(kRaceLayout, "MeetingNumber");
inline constexpr FieldRef MeetingDay = FieldOf(kRaceLayout, "MeetingDay");
inline constexpr FieldRef RaceNumber = FieldOf(kRaceLayout, "RaceNumber");
inline constexpr FieldRef WeekdayCode = FieldOf(kRaceLayout, "WeekdayCode");
inline constexpr FieldRef SpecialRaceNumber = FieldOf(kRaceLayout, "SpecialRaceNumber");
inline constexpr FieldRef RaceName = FieldOf(kRaceLayout, "RaceName");
inline constexpr FieldRef RaceSubtitle = FieldOf(kRaceLayout, "RaceSubtitle");
inline constexpr FieldRef RaceNameParenthesis = FieldOf(kRaceLayout, "RaceNameParenthesis");
inline constexpr FieldRef RaceNameEnglish = FieldOf(kRaceLayout, "RaceNameEnglish");
inline constexpr FieldRef RaceSubtitleEnglish = FieldOf(kRaceLayout, "RaceSubtitleEnglish");
inline constexpr FieldRef RaceNameParenthesisEnglish =
    FieldOf(kRaceLayout, "RaceNameParenthesisEnglish");
inline constexpr FieldRef RaceShortName10 = FieldOf(kRaceLayout, "RaceShortName10");
inline constexpr FieldRef RaceShortName6 = FieldOf(kRaceLayout, "RaceShortName6");
inline constexpr FieldRef RaceShortName3 = FieldOf(kRaceLayout, "RaceShortName3");
inline constexpr FieldRef RaceNameKind = FieldOf(kRaceLayout, "RaceNameKind");
inline constexpr FieldRef GradedRaceEdition = FieldOf(kRaceLayout, "GradedRaceEdition");
inline constexpr FieldRef GradeCode = FieldOf(kRaceLayout, "GradeCode");
inline constexpr FieldRef GradeCodeBefore = FieldOf(kRaceLayout, "GradeCodeBefore");
inline constexpr FieldRef RaceConditionKind = FieldOf(kRaceLayout, "RaceConditionKind");
inline constexpr FieldRef RaceConditionSymbol = FieldOf(kRaceLayout, "RaceConditionSymbol");
inline constexpr FieldRef RaceWeightKind = FieldOf(kRaceLayout, "RaceWeightKind");
inline constexpr FieldRef RaceAgeConditions = FieldOf(kRaceLayout, "RaceAgeConditions");
inline constexpr FieldRef ConditionName = FieldOf(kRaceLayout, "ConditionName");
inline constexpr FieldRef Distance = FieldOf(kRaceLayout, "Distance");
inline constexpr FieldRef DistanceBefore = FieldOf(kRaceLayout, "DistanceBefore");
inline constexpr FieldRef TrackCode = FieldOf(kRaceLayout, "TrackCode");
inline constexpr FieldRef TrackCodeBefore = FieldOf(kRaceLayout, "TrackCodeBefore");
inline constexpr FieldRef CourseDivision = FieldOf(kRaceLayout, "CourseDivision");
inline constexpr FieldRef CourseDivisionBefore = FieldOf(kRaceLayout, "CourseDivisionBefore");
inline constexpr FieldRef PrizeMoneyByPlace = FieldOf(kRaceLayout, "PrizeMoneyByPlace");
inline constexpr FieldRef PrizeMoneyByPlaceBefore = FieldOf(kRaceLayout, "PrizeMoneyByPlaceBefore");
inline constexpr FieldRef AddedMoneyByPlace = FieldOf(kRaceLayout, "AddedMoneyByPlace");
inline constexpr FieldRef AddedMoneyByPlaceBefore = FieldOf(kRaceLayout, "AddedMoneyByPlaceBefore");
inline constexpr FieldRef PostTime = FieldOf(kRaceLayout, "PostTime");
inline constexpr FieldRef PostTimeBefore = FieldOf(kRaceLayout, "PostTimeBefore");
inline constexpr FieldRef RegisteredCount = FieldOf(kRaceLayout, "RegisteredCount");
inline constexpr FieldRef StarterCount = FieldOf(kRaceLayout, "StarterCount");
inline constexpr FieldRef FinisherCount = FieldOf(kRaceLayout, "FinisherCount");
inline constexpr FieldRef WeatherCode = FieldOf(kRaceLayout, "WeatherCode");
inline constexpr FieldRef TurfGoingCode = FieldOf(kRaceLayout, "TurfGoingCode");
inline constexpr FieldRef DirtGoingCode = FieldOf(kRaceLayout, "DirtGoingCode");
inline constexpr FieldRef FurlongLeaderTimes = FieldOf(kRaceLayout, "FurlongLeaderTimes");
inline constexpr FieldRef JumpMileTime = FieldOf(kRaceLayout, "JumpMileTime");
inline constexpr FieldRef First3FurlongLapTime = FieldOf(kRaceLayout, "First3FurlongLapTime");
inline constexpr FieldRef First4FurlongLapTime = FieldOf(kRaceLayout, "First4FurlongLapTime");
inline constexpr FieldRef Last3FurlongLapTime = FieldOf(kRaceLayout, "Last3FurlongLapTime");
inline constexpr FieldRef Last4FurlongLapTime = FieldOf(kRaceLayout, "Last4FurlongLapTime");
inline constexpr FieldRef CornerPassings = FieldOf(kRaceLayout, "CornerPassings");
inline constexpr FieldRef CornerPassings_CornerNumber =
    FieldOf(kRaceLayout, "CornerPassings.CornerNumber");
inline constexpr FieldRef CornerPassings_LapCount = FieldOf(kRaceLayout, "CornerPassings.LapCount");
inline constexpr FieldRef CornerPassings_PassingOrder =
    FieldOf(kRaceLayout, "CornerPassings.PassingOrder");
inline constexpr FieldRef RecordUpdateCode = FieldOf(kRaceLayout, "RecordUpdateCode");
inline constexpr FieldRef LineEnd = FieldOf(kRaceLayout, "LineEnd");
inline constexpr FieldRef CreatedDate = Span(CreatedYear, CreatedDay);
}  // namespace ra

inline constexpr FieldSpec kRunnerLayoutFields[] = {
    F("RecordSpec", 1, 2),
    F("DataCategory", 3, 1),
    F("CreatedYear", 4, 4),
    F("CreatedMonth", 8, 2),
    F("CreatedDay", 10, 2),
    F("RaceYear", 12, 4),
    F("RaceMonthDay", 16, 4),
    F("RacecourseCode", 20, 2),
    F("MeetingNumber", 22, 2),
    F("MeetingDay", 24, 2),
    F("RaceNumber", 26, 2),
    F("FrameNumber", 28, 1),
    F("HorseNumber", 29, 2),
    F("HorseId", 31, 10),
    F("HorseName", 41, 36),
    F("HorseSymbolCode", 77, 2),
    F("SexCode", 79, 1),
    F("BreedCode", 80, 1),
    F("CoatColorCode", 81, 2),
    F("HorseAge", 83, 2),
    F("AffiliationCode", 85, 1),
    F("TrainerCode", 86, 5),
    F("TrainerShortName", 91, 8),
    F("OwnerCode", 99, 6),
    F("OwnerName", 105, 64),
    F("SilksDescription", 169, 60),
    F("Reserved1", 229, 60),
    F("WeightCarried", 289, 3),
    F("WeightCarriedBefore", 292, 3),
    F("BlinkerCode", 295, 1),
    F("Reserved2", 296, 1),
    F("JockeyCode", 297, 5),
    F("JockeyCodeBefore", 302, 5),
    F("JockeyShortName", 307, 8),
    F("JockeyShortNameBefore", 315, 8),
    F("ApprenticeCode", 323, 1),
    F("ApprenticeCodeBefore", 324, 1),
    F("BodyWeight", 325, 3),
    F("BodyWeightChangeSign", 328, 1),
    F("BodyWeightChange", 329, 3),
    F("AbnormalityCode", 332, 1),
    F("ArrivalOrder", 333, 2),
    F("FinishPosition", 335, 2),
    F("DeadHeatCode", 337, 1),
    F("DeadHeatCount", 338, 1),
    F("FinishTime", 339, 4),
    F("MarginCode", 343, 3),
    F("MarginCodePlus", 346, 3),
    F("MarginCodePlusPlus", 349, 3),
    F("CornerPositions", 352, 2, 4),
    F("WinOdds", 360, 4),
    F("WinPopularity", 364, 2),
    F("PrizeMoney", 366, 8),
    F("AddedMoney", 374, 8),
    F("Reserved3", 382, 3),
    F("Reserved4", 385, 3),
    F("Last4FurlongTime", 388, 3),
    F("Last3FurlongTime", 391, 3),
    G("Opponents", 394, 46, 3, 2),
    F("Opponents.HorseId", 0, 10),
    F("Opponents.HorseName", 10, 36),
    F("TimeBehindWinner", 532, 4),
    F("RecordUpdateCode", 536, 1),
    F("MiningCode", 537, 1),
    F("MiningPredictedTime", 538, 5),
    F("MiningErrorPlus", 543, 4),
    F("MiningErrorMinus", 547, 4),
    F("MiningPredictedRank", 551, 2),
    F("RaceRunningStyle", 553, 1),
    F("LineEnd", 554, 2),
};
inline constexpr Layout kRunnerLayout{"SE", kRunnerLayoutFields, 555, 555};
static_assert(LayoutIsValid(kRunnerLayout));

namespace se {
inline constexpr FieldRef RecordSpec = FieldOf(kRunnerLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kRunnerLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kRunnerLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kRunnerLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kRunnerLayout, "CreatedDay");
inline constexpr FieldRef RaceYear = FieldOf(kRunnerLayout, "RaceYear");
inline constexpr FieldRef RaceMonthDay = FieldOf(kRunnerLayout, "RaceMonthDay");
inline constexpr FieldRef RacecourseCode = FieldOf(kRunnerLayout, "RacecourseCode");
inline constexpr FieldRef MeetingNumber = FieldOf(kRunnerLayout, "MeetingNumber");
inline constexpr FieldRef MeetingDay = FieldOf(kRunnerLayout, "MeetingDay");
inline constexpr FieldRef RaceNumber = FieldOf(kRunnerLayout, "RaceNumber");
inline constexpr FieldRef FrameNumber = FieldOf(kRunnerLayout, "FrameNumber");
inline constexpr FieldRef HorseNumber = FieldOf(kRunnerLayout, "HorseNumber");
inline constexpr FieldRef HorseId = FieldOf(kRunnerLayout, "HorseId");
inline constexpr FieldRef HorseName = FieldOf(kRunnerLayout, "HorseName");
inline constexpr FieldRef HorseSymbolCode = FieldOf(kRunnerLayout, "HorseSymbolCode");
inline constexpr FieldRef SexCode = FieldOf(kRunnerLayout, "SexCode");
inline constexpr FieldRef BreedCode = FieldOf(kRunnerLayout, "BreedCode");
inline constexpr FieldRef CoatColorCode = FieldOf(kRunnerLayout, "CoatColorCode");
inline constexpr FieldRef HorseAge = FieldOf(kRunnerLayout, "HorseAge");
inline constexpr FieldRef AffiliationCode = FieldOf(kRunnerLayout, "AffiliationCode");
inline constexpr FieldRef TrainerCode = FieldOf(kRunnerLayout, "TrainerCode");
inline constexpr FieldRef TrainerShortName = FieldOf(kRunnerLayout, "TrainerShortName");
inline constexpr FieldRef OwnerCode = FieldOf(kRunnerLayout, "OwnerCode");
inline constexpr FieldRef OwnerName = FieldOf(kRunnerLayout, "OwnerName");
inline constexpr FieldRef SilksDescription = FieldOf(kRunnerLayout, "SilksDescription");
inline constexpr FieldRef Reserved1 = FieldOf(kRunnerLayout, "Reserved1");
inline constexpr FieldRef WeightCarried = FieldOf(kRunnerLayout, "WeightCarried");
inline constexpr FieldRef WeightCarriedBefore = FieldOf(kRunnerLayout, "WeightCarriedBefore");
inline constexpr FieldRef BlinkerCode = FieldOf(kRunnerLayout, "BlinkerCode");
inline constexpr FieldRef Reserved2 = FieldOf(kRunnerLayout, "Reserved2");
inline constexpr FieldRef JockeyCode = FieldOf(kRunnerLayout, "JockeyCode");
inline constexpr FieldRef JockeyCodeBefore = FieldOf(kRunnerLayout, "JockeyCodeBefore");
inline constexpr FieldRef JockeyShortName = FieldOf(kRunnerLayout, "JockeyShortName");
inline constexpr FieldRef JockeyShortNameBefore = FieldOf(kRunnerLayout, "JockeyShortNameBefore");
inline constexpr FieldRef ApprenticeCode = FieldOf(kRunnerLayout, "ApprenticeCode");
inline constexpr FieldRef ApprenticeCodeBefore = FieldOf(kRunnerLayout, "ApprenticeCodeBefore");
inline constexpr FieldRef BodyWeight = FieldOf(kRunnerLayout, "BodyWeight");
inline constexpr FieldRef BodyWeightChangeSign = FieldOf(kRunnerLayout, "BodyWeightChangeSign");
inline constexpr FieldRef BodyWeightChange = FieldOf(kRunnerLayout, "BodyWeightChange");
inline constexpr FieldRef AbnormalityCode = FieldOf(kRunnerLayout, "AbnormalityCode");
inline constexpr FieldRef ArrivalOrder = FieldOf(kRunnerLayout, "ArrivalOrder");
inline constexpr FieldRef FinishPosition = FieldOf(kRunnerLayout, "FinishPosition");
inline constexpr FieldRef DeadHeatCode = FieldOf(kRunnerLayout, "DeadHeatCode");
inline constexpr FieldRef DeadHeatCount = FieldOf(kRunnerLayout, "DeadHeatCount");
inline constexpr FieldRef FinishTime = FieldOf(kRunnerLayout, "FinishTime");
inline constexpr FieldRef MarginCode = FieldOf(kRunnerLayout, "MarginCode");
inline constexpr FieldRef MarginCodePlus = FieldOf(kRunnerLayout, "MarginCodePlus");
inline constexpr FieldRef MarginCodePlusPlus = FieldOf(kRunnerLayout, "MarginCodePlusPlus");
inline constexpr FieldRef CornerPositions = FieldOf(kRunnerLayout, "CornerPositions");
inline constexpr FieldRef WinOdds = FieldOf(kRunnerLayout, "WinOdds");
inline constexpr FieldRef WinPopularity = FieldOf(kRunnerLayout, "WinPopularity");
inline constexpr FieldRef PrizeMoney = FieldOf(kRunnerLayout, "PrizeMoney");
inline constexpr FieldRef AddedMoney = FieldOf(kRunnerLayout, "AddedMoney");
inline constexpr FieldRef Reserved3 = FieldOf(kRunnerLayout, "Reserved3");
inline constexpr FieldRef Reserved4 = FieldOf(kRunnerLayout, "Reserved4");
inline constexpr FieldRef Last4FurlongTime = FieldOf(kRunnerLayout, "Last4FurlongTime");
inline constexpr FieldRef Last3FurlongTime = FieldOf(kRunnerLayout, "Last3FurlongTime");
inline constexpr FieldRef Opponents = FieldOf(kRunnerLayout, "Opponents");
inline constexpr FieldRef Opponents_HorseId = FieldOf(kRunnerLayout, "Opponents.HorseId");
inline constexpr FieldRef Opponents_HorseName = FieldOf(kRunnerLayout, "Opponents.HorseName");
inline constexpr FieldRef TimeBehindWinner = FieldOf(kRunnerLayout, "TimeBehindWinner");
inline constexpr FieldRef RecordUpdateCode = FieldOf(kRunnerLayout, "RecordUpdateCode");
inline constexpr FieldRef MiningCode = FieldOf(kRunnerLayout, "MiningCode");
inline constexpr FieldRef MiningPredictedTime = FieldOf(kRunnerLayout, "MiningPredictedTime");
inline constexpr FieldRef MiningErrorPlus = FieldOf(kRunnerLayout, "MiningErrorPlus");
inline constexpr FieldRef MiningErrorMinus = FieldOf(kRunnerLayout, "MiningErrorMinus");
inline constexpr FieldRef MiningPredictedRank = FieldOf(kRunnerLayout, "MiningPredictedRank");
inline constexpr FieldRef RaceRunningStyle = FieldOf(kRunnerLayout, "RaceRunningStyle");
inline constexpr FieldRef LineEnd = FieldOf(kRunnerLayout, "LineEnd");
inline constexpr FieldRef CreatedDate = Span(CreatedYear, CreatedDay);
}  // namespace se

// Spot checks of positions that later steps rely on.
static_assert(ra::CornerPassings.In(3).pos == 1126);
static_assert(ra::CornerPassings_PassingOrder.In(3).pos == 1128);
static_assert(ra::FurlongLeaderTimes.At(25).pos == 963 &&
              ra::FurlongLeaderTimes.At(25).end() == 965);
static_assert(se::JockeyCode.pos == 297 && se::JockeyCode.width == 5);
static_assert(se::Opponents.In(3).pos == 486);
static_assert(se::Opponents_HorseId.In(3).pos == 486 && se::Opponents_HorseId.In(3).end() == 495);
static_assert(se::Opponents_HorseName.In(3).pos == 496 &&
              se::Opponents_HorseName.In(3).end() == 531);
static_assert(se::CornerPositions.At(4).pos == 358 && se::CornerPositions.At(4).end() == 359);

}  // namespace meridax::records
