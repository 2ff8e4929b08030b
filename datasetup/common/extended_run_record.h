#pragma once

// ExtendedRunRecord (UMAGOTOEXSETUP\<HorseId>EX.dat): 1341 bytes, one run of a horse joined
// with its race, horse, sire and dam numbers, foal order, jockey and last market sale.
// Record j of a horse's file belongs to record j of its race file. Positions 1-40 repeat
// the runner record's; 745-1339 hold the race record's fields from GradeCode to the end of
// CornerPassings in their order, without ConditionName.

#include "records/layout.h"
#include "records/race_layouts.h"

#define MERIDAX_EXTENDED_RUN_ROWS(X, M)                                                   \
  MERIDAX_RECORD_HEADER_ROWS(X, M)                                                        \
  MERIDAX_RACE_KEY_ROWS(X, M)                                                             \
  MERIDAX_RUNNER_ENTRY_ROWS(X, M)                                                         \
  X(F, FoalOrder, 41, 2)                                                                  \
  X(F, WeekdayCode, 43, 1)                                                                \
  X(F, MarketCode, 44, 6)                                                                 \
  X(F, MarketOrganizer, 50, 40)                                                           \
  X(F, MarketName, 90, 80)                                                                \
  X(F, MarketStartDate, 170, 8)                                                           \
  X(F, MarketEndDate, 178, 8)                                                             \
  X(F, SaleAge, 186, 1)                                                                   \
  X(F, SalePrice, 187, 10)                                                                \
  X(F, BirthYear, 197, 4)                                                                 \
  X(F, BirthMonth, 201, 2)                                                                \
  X(F, BirthDay, 203, 2)                                                                  \
  X(Span, BirthDate, BirthYear, BirthDay)                                                 \
  X(F, InvitationRegion, 205, 20)                                                         \
  X(F, BreederCode, 225, 8)                                                               \
  X(F, BirthplaceName, 233, 20)                                                           \
  /* Seven ancestor blocks; the builder fills only the sire and dam numbers (1 and 2). */ \
  X(G, AncestorBlocks, 253, 34, 7, 3)                                                     \
  M(AncestorBlocks, F, BreedingNumber, 0, 10)                                             \
  M(AncestorBlocks, F, BirthYear, 10, 4)                                                  \
  M(AncestorBlocks, F, BirthplaceName, 14, 20)                                            \
  X(F, HorseName, 491, 36)                                                                \
  X(F, Unassigned527, 527, 1)                                                             \
  X(F, HorseSymbolCode, 528, 2)                                                           \
  X(F, SexCode, 530, 1)                                                                   \
  X(F, BreedCode, 531, 1)                                                                 \
  X(F, CoatColorCode, 532, 2)                                                             \
  X(F, AffiliationCode, 534, 1)                                                           \
  X(F, TrainerCode, 535, 5)                                                               \
  X(F, OwnerCode, 540, 6)                                                                 \
  X(F, SilksDescription, 546, 60)                                                         \
  X(F, WeightCarried, 606, 3)                                                             \
  X(F, WeightCarriedBefore, 609, 3)                                                       \
  X(F, BlinkerCode, 612, 1)                                                               \
  X(F, Reserved2, 613, 1)                                                                 \
  X(F, JockeyCode, 614, 5)                                                                \
  X(F, JockeyBirthYear, 619, 4)                                                           \
  X(F, JockeyBirthMonth, 623, 2)                                                          \
  X(F, JockeyBirthDay, 625, 2)                                                            \
  X(Span, JockeyBirthDate, JockeyBirthYear, JockeyBirthDay)                               \
  X(F, JockeySexCode, 627, 1)                                                             \
  X(F, JockeyInvitationRegion, 628, 20)                                                   \
  X(F, RidingQualificationCode, 648, 1)                                                   \
  X(F, JockeyCodeBefore, 649, 5)                                                          \
  X(F, JockeyShortName, 654, 8)                                                           \
  X(F, JockeyShortNameBefore, 662, 8)                                                     \
  X(F, ApprenticeCode, 670, 1)                                                            \
  X(F, ApprenticeCodeBefore, 671, 1)                                                      \
  X(F, BodyWeight, 672, 3)                                                                \
  X(F, BodyWeightChangeSign, 675, 1)                                                      \
  X(F, BodyWeightChange, 676, 3)                                                          \
  X(F, AbnormalityCode, 679, 1)                                                           \
  X(F, ArrivalOrder, 680, 2)                                                              \
  X(F, FinishPosition, 682, 2)                                                            \
  X(F, DeadHeatCode, 684, 1)                                                              \
  X(F, DeadHeatCount, 685, 1)                                                             \
  X(F, FinishTime, 686, 4)                                                                \
  X(F, MarginCode, 690, 3)                                                                \
  X(F, MarginCodePlus, 693, 3)                                                            \
  X(F, MarginCodePlusPlus, 696, 3)                                                        \
  X(F, CornerPositions, 699, 2, 4)                                                        \
  X(F, WinOdds, 707, 4)                                                                   \
  X(F, WinPopularity, 711, 2)                                                             \
  X(F, PrizeMoney, 713, 8)                                                                \
  X(F, AddedMoney, 721, 8)                                                                \
  X(F, Reserved3, 729, 3)                                                                 \
  X(F, Reserved4, 732, 3)                                                                 \
  X(F, Last4FurlongTime, 735, 3)                                                          \
  X(F, Last3FurlongTime, 738, 3)                                                          \
  X(F, TimeBehindWinner, 741, 4)                                                          \
  X(F, GradeCode, 745, 1)                                                                 \
  X(F, GradeCodeBefore, 746, 1)                                                           \
  X(F, RaceConditionKind, 747, 2)                                                         \
  X(F, RaceConditionSymbol, 749, 3)                                                       \
  X(F, RaceWeightKind, 752, 1)                                                            \
  X(F, RaceAgeConditions, 753, 3, 5)                                                      \
  X(F, Distance, 768, 4)                                                                  \
  X(F, DistanceBefore, 772, 4)                                                            \
  X(F, TrackCode, 776, 2)                                                                 \
  X(F, TrackCodeBefore, 778, 2)                                                           \
  X(F, CourseDivision, 780, 2)                                                            \
  X(F, CourseDivisionBefore, 782, 2)                                                      \
  X(F, PrizeMoneyByPlace, 784, 8, 7)                                                      \
  X(F, PrizeMoneyByPlaceBefore, 840, 8, 5)                                                \
  X(F, AddedMoneyByPlace, 880, 8, 5)                                                      \
  X(F, AddedMoneyByPlaceBefore, 920, 8, 3)                                                \
  X(F, PostTime, 944, 4)                                                                  \
  X(F, PostTimeBefore, 948, 4)                                                            \
  X(F, RegisteredCount, 952, 2)                                                           \
  X(F, StarterCount, 954, 2)                                                              \
  X(F, FinisherCount, 956, 2)                                                             \
  X(F, WeatherCode, 958, 1)                                                               \
  X(F, TurfGoingCode, 959, 1)                                                             \
  X(F, DirtGoingCode, 960, 1)                                                             \
  X(F, FurlongLeaderTimes, 961, 3, 25)                                                    \
  X(F, JumpMileTime, 1036, 4)                                                             \
  X(F, First3FurlongLapTime, 1040, 3)                                                     \
  X(F, First4FurlongLapTime, 1043, 3)                                                     \
  X(F, Last3FurlongLapTime, 1046, 3)                                                      \
  X(F, Last4FurlongLapTime, 1049, 3)                                                      \
  X(G, CornerPassings, 1052, 72, 4, 3)                                                    \
  M(CornerPassings, F, CornerNumber, 0, 1)                                                \
  M(CornerPassings, F, LapCount, 1, 1)                                                    \
  M(CornerPassings, F, PassingOrder, 2, 70)                                               \
  X(F, LineEnd, 1340, 2)

namespace meridax {

inline constexpr int kExtendedRunLength = 1341;
inline constexpr records::FieldSpec kExtendedRunLayoutFields[] = {
    MERIDAX_LAYOUT_ROWS(MERIDAX_EXTENDED_RUN_ROWS)};
inline constexpr records::Layout kExtendedRunLayout{"ExtendedRun", kExtendedRunLayoutFields,
                                                    kExtendedRunLength, kExtendedRunLength};
static_assert(records::LayoutIsValid(kExtendedRunLayout));

namespace extended_run {
using records::FieldOf;
using records::FieldRef;
MERIDAX_LAYOUT_REFS(MERIDAX_EXTENDED_RUN_ROWS, kExtendedRunLayout)
// The youngest-age condition is the last of the race's age conditions.
inline constexpr FieldRef YoungestAgeCondition = RaceAgeConditions.At(5);
}  // namespace extended_run

static_assert(extended_run::RaceYear == records::se::RaceYear &&
              extended_run::RacecourseCode == records::se::RacecourseCode &&
              extended_run::RaceNumber == records::se::RaceNumber &&
              extended_run::HorseId == records::se::HorseId &&
              extended_run::ArrivalOrder.width == records::se::ArrivalOrder.width &&
              extended_run::MarginCode.width == records::se::MarginCode.width);
static_assert(extended_run::TrainerCode.pos == 535 && extended_run::TrackCode.pos == 776 &&
              extended_run::LineEnd.pos == 1340 && extended_run::CornerPassings.end() == 1123 &&
              extended_run::CornerPassings_PassingOrder.In(4).end() == 1339 &&
              extended_run::AncestorBlocks_BreedingNumber.In(2).pos == 287 &&
              extended_run::YoungestAgeCondition.pos == 765);

}  // namespace meridax
