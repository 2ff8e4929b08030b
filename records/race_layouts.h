#pragma once

// Race (RA) and runner (SE) records; both begin with the record header and the race key.
// Stored and delivered layouts are the same.

#include "records/layout.h"

// The runner's entry as runner records (and the records built from them) keep it, right
// after the race key.
#define MERIDAX_RUNNER_ENTRY_ROWS(X, M) \
  X(F, FrameNumber, 28, 1)              \
  X(F, HorseNumber, 29, 2)              \
  X(F, HorseId, 31, 10)

#define MERIDAX_RACE_ROWS(X, M)              \
  MERIDAX_RECORD_HEADER_ROWS(X, M)           \
  MERIDAX_RACE_KEY_ROWS(X, M)                \
  X(F, WeekdayCode, 28, 1)                   \
  X(F, SpecialRaceNumber, 29, 4)             \
  X(F, RaceName, 33, 60)                     \
  X(F, RaceSubtitle, 93, 60)                 \
  X(F, RaceNameParenthesis, 153, 60)         \
  X(F, RaceNameEnglish, 213, 120)            \
  X(F, RaceSubtitleEnglish, 333, 120)        \
  X(F, RaceNameParenthesisEnglish, 453, 120) \
  X(F, RaceShortName10, 573, 20)             \
  X(F, RaceShortName6, 593, 12)              \
  X(F, RaceShortName3, 605, 6)               \
  X(F, RaceNameKind, 611, 1)                 \
  X(F, GradedRaceEdition, 612, 3)            \
  X(F, GradeCode, 615, 1)                    \
  X(F, GradeCodeBefore, 616, 1)              \
  X(F, RaceConditionKind, 617, 2)            \
  X(F, RaceConditionSymbol, 619, 3)          \
  X(F, RaceWeightKind, 622, 1)               \
  X(F, RaceAgeConditions, 623, 3, 5)         \
  X(F, ConditionName, 638, 60)               \
  X(F, Distance, 698, 4)                     \
  X(F, DistanceBefore, 702, 4)               \
  X(F, TrackCode, 706, 2)                    \
  X(F, TrackCodeBefore, 708, 2)              \
  X(F, CourseDivision, 710, 2)               \
  X(F, CourseDivisionBefore, 712, 2)         \
  X(F, PrizeMoneyByPlace, 714, 8, 7)         \
  X(F, PrizeMoneyByPlaceBefore, 770, 8, 5)   \
  X(F, AddedMoneyByPlace, 810, 8, 5)         \
  X(F, AddedMoneyByPlaceBefore, 850, 8, 3)   \
  X(F, PostTime, 874, 4)                     \
  X(F, PostTimeBefore, 878, 4)               \
  X(F, RegisteredCount, 882, 2)              \
  X(F, StarterCount, 884, 2)                 \
  X(F, FinisherCount, 886, 2)                \
  X(F, WeatherCode, 888, 1)                  \
  X(F, TurfGoingCode, 889, 1)                \
  X(F, DirtGoingCode, 890, 1)                \
  X(F, FurlongLeaderTimes, 891, 3, 25)       \
  X(F, JumpMileTime, 966, 4)                 \
  X(F, First3FurlongLapTime, 970, 3)         \
  X(F, First4FurlongLapTime, 973, 3)         \
  X(F, Last3FurlongLapTime, 976, 3)          \
  X(F, Last4FurlongLapTime, 979, 3)          \
  X(G, CornerPassings, 982, 72, 4, 3)        \
  M(CornerPassings, F, CornerNumber, 0, 1)   \
  M(CornerPassings, F, LapCount, 1, 1)       \
  M(CornerPassings, F, PassingOrder, 2, 70)  \
  X(F, RecordUpdateCode, 1270, 1)            \
  X(F, LineEnd, 1271, 2)

#define MERIDAX_RUNNER_ROWS(X, M)     \
  MERIDAX_RECORD_HEADER_ROWS(X, M)    \
  MERIDAX_RACE_KEY_ROWS(X, M)         \
  MERIDAX_RUNNER_ENTRY_ROWS(X, M)     \
  X(F, HorseName, 41, 36)             \
  X(F, HorseSymbolCode, 77, 2)        \
  X(F, SexCode, 79, 1)                \
  X(F, BreedCode, 80, 1)              \
  X(F, CoatColorCode, 81, 2)          \
  X(F, HorseAge, 83, 2)               \
  X(F, AffiliationCode, 85, 1)        \
  X(F, TrainerCode, 86, 5)            \
  X(F, TrainerShortName, 91, 8)       \
  X(F, OwnerCode, 99, 6)              \
  X(F, OwnerName, 105, 64)            \
  X(F, SilksDescription, 169, 60)     \
  X(F, Reserved1, 229, 60)            \
  X(F, WeightCarried, 289, 3)         \
  X(F, WeightCarriedBefore, 292, 3)   \
  X(F, BlinkerCode, 295, 1)           \
  X(F, Reserved2, 296, 1)             \
  X(F, JockeyCode, 297, 5)            \
  X(F, JockeyCodeBefore, 302, 5)      \
  X(F, JockeyShortName, 307, 8)       \
  X(F, JockeyShortNameBefore, 315, 8) \
  X(F, ApprenticeCode, 323, 1)        \
  X(F, ApprenticeCodeBefore, 324, 1)  \
  X(F, BodyWeight, 325, 3)            \
  X(F, BodyWeightChangeSign, 328, 1)  \
  X(F, BodyWeightChange, 329, 3)      \
  X(F, AbnormalityCode, 332, 1)       \
  X(F, ArrivalOrder, 333, 2)          \
  X(F, FinishPosition, 335, 2)        \
  X(F, DeadHeatCode, 337, 1)          \
  X(F, DeadHeatCount, 338, 1)         \
  X(F, FinishTime, 339, 4)            \
  X(F, MarginCode, 343, 3)            \
  X(F, MarginCodePlus, 346, 3)        \
  X(F, MarginCodePlusPlus, 349, 3)    \
  X(F, CornerPositions, 352, 2, 4)    \
  X(F, WinOdds, 360, 4)               \
  X(F, WinPopularity, 364, 2)         \
  X(F, PrizeMoney, 366, 8)            \
  X(F, AddedMoney, 374, 8)            \
  X(F, Reserved3, 382, 3)             \
  X(F, Reserved4, 385, 3)             \
  X(F, Last4FurlongTime, 388, 3)      \
  X(F, Last3FurlongTime, 391, 3)      \
  X(G, Opponents, 394, 46, 3, 2)      \
  M(Opponents, F, HorseId, 0, 10)     \
  M(Opponents, F, HorseName, 10, 36)  \
  X(F, TimeBehindWinner, 532, 4)      \
  X(F, RecordUpdateCode, 536, 1)      \
  X(F, MiningCode, 537, 1)            \
  X(F, MiningPredictedTime, 538, 5)   \
  X(F, MiningErrorPlus, 543, 4)       \
  X(F, MiningErrorMinus, 547, 4)      \
  X(F, MiningPredictedRank, 551, 2)   \
  X(F, RaceRunningStyle, 553, 1)      \
  X(F, LineEnd, 554, 2)

namespace meridax::records {

inline constexpr FieldSpec kRaceLayoutFields[] = {MERIDAX_LAYOUT_ROWS(MERIDAX_RACE_ROWS)};
inline constexpr Layout kRaceLayout{"RA", kRaceLayoutFields, 1272, 1272};
static_assert(LayoutIsValid(kRaceLayout));

namespace ra {
MERIDAX_LAYOUT_REFS(MERIDAX_RACE_ROWS, kRaceLayout)
}  // namespace ra

inline constexpr FieldSpec kRunnerLayoutFields[] = {MERIDAX_LAYOUT_ROWS(MERIDAX_RUNNER_ROWS)};
inline constexpr Layout kRunnerLayout{"SE", kRunnerLayoutFields, 555, 555};
static_assert(LayoutIsValid(kRunnerLayout));

namespace se {
MERIDAX_LAYOUT_REFS(MERIDAX_RUNNER_ROWS, kRunnerLayout)
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
