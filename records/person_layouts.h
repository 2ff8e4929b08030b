#pragma once

// Jockey (KS) and trainer (CH) records. Both end in three Performance blocks (this year,
// last year, career) whose four money totals are delivered as 10 bytes and stored as their
// first 9, so a stored block is 1048 bytes against 1052 delivered and every later field
// sits nearer the start. FieldOf gives stored positions, DeliveredFieldOf delivered ones.

#include "records/layout.h"

// The rows that jockey and trainer records both carry: the license and birth dates, the
// three most recent graded-race wins and the Performance block, whose money totals are
// the fields a stored record cuts.
#define MERIDAX_PERSON_DATE_ROWS(X, M)                               \
  X(F, DeregistrationCode, 17, 1)                                    \
  X(F, LicenseIssueYear, 18, 4)                                      \
  X(F, LicenseIssueMonth, 22, 2)                                     \
  X(F, LicenseIssueDay, 24, 2)                                       \
  X(Span, LicenseIssueDate, LicenseIssueYear, LicenseIssueDay)       \
  X(F, LicenseRevokedYear, 26, 4)                                    \
  X(F, LicenseRevokedMonth, 30, 2)                                   \
  X(F, LicenseRevokedDay, 32, 2)                                     \
  X(Span, LicenseRevokedDate, LicenseRevokedYear, LicenseRevokedDay) \
  X(F, BirthYear, 34, 4)                                             \
  X(F, BirthMonth, 38, 2)                                            \
  X(F, BirthDay, 40, 2)                                              \
  X(Span, BirthDate, BirthYear, BirthDay)

#define MERIDAX_GRADED_WIN_MEMBER_ROWS(X, M)        \
  MERIDAX_RACE_KEY_MEMBER_ROWS(M, RecentGradedWins) \
  M(RecentGradedWins, F, RaceName, 16, 60)          \
  M(RecentGradedWins, F, RaceShortName10, 76, 20)   \
  M(RecentGradedWins, F, RaceShortName6, 96, 12)    \
  M(RecentGradedWins, F, RaceShortName3, 108, 6)    \
  M(RecentGradedWins, F, GradeCode, 114, 1)         \
  M(RecentGradedWins, F, StarterCount, 115, 2)      \
  M(RecentGradedWins, F, HorseId, 117, 10)          \
  M(RecentGradedWins, F, HorseName, 127, 36)

#define MERIDAX_PERFORMANCE_MEMBER_ROWS(X, M)           \
  M(Performance, F, SetYear, 0, 4)                      \
  M(Performance, Cut, FlatPrizeTotal, 4, 10, 9)         \
  M(Performance, Cut, JumpPrizeTotal, 13, 10, 9)        \
  M(Performance, Cut, FlatAddedTotal, 22, 10, 9)        \
  M(Performance, Cut, JumpAddedTotal, 31, 10, 9)        \
  M(Performance, F, FlatFinishCounts, 40, 6, 6)         \
  M(Performance, F, JumpFinishCounts, 76, 6, 6)         \
  M(Performance, T, CourseFinishCounts, 112, 36, 20, 6) \
  M(Performance, T, DistanceFinishCounts, 832, 36, 6, 6)

#define MERIDAX_JOCKEY_ROWS(X, M)             \
  MERIDAX_RECORD_HEADER_ROWS(X, M)            \
  X(F, JockeyCode, 12, 5)                     \
  MERIDAX_PERSON_DATE_ROWS(X, M)              \
  X(F, JockeyName, 42, 34)                    \
  X(F, Reserved1, 76, 34)                     \
  X(F, JockeyNameKana, 110, 30)               \
  X(F, JockeyShortName, 140, 8)               \
  X(F, JockeyNameEnglish, 148, 80)            \
  X(F, SexCode, 228, 1)                       \
  X(F, RidingQualificationCode, 229, 1)       \
  X(F, ApprenticeCode, 230, 1)                \
  X(F, AffiliationCode, 231, 1)               \
  X(F, InvitationRegion, 232, 20)             \
  X(F, TrainerCode, 252, 5)                   \
  X(F, TrainerShortName, 257, 8)              \
  X(G, FirstRides, 265, 67, 2, 11)            \
  MERIDAX_RACE_KEY_MEMBER_ROWS(M, FirstRides) \
  M(FirstRides, F, StarterCount, 16, 2)       \
  M(FirstRides, F, HorseId, 18, 10)           \
  M(FirstRides, F, HorseName, 28, 36)         \
  M(FirstRides, F, FinishPosition, 64, 2)     \
  M(FirstRides, F, AbnormalityCode, 66, 1)    \
  X(G, FirstWins, 399, 64, 2, 9)              \
  MERIDAX_RACE_KEY_MEMBER_ROWS(M, FirstWins)  \
  M(FirstWins, F, StarterCount, 16, 2)        \
  M(FirstWins, F, HorseId, 18, 10)            \
  M(FirstWins, F, HorseName, 28, 36)          \
  X(G, RecentGradedWins, 527, 163, 3, 14)     \
  MERIDAX_GRADED_WIN_MEMBER_ROWS(X, M)        \
  X(G, Performance, 1016, 1048, 3, 9)         \
  MERIDAX_PERFORMANCE_MEMBER_ROWS(X, M)       \
  X(F, LineEnd, 4160, 2)

#define MERIDAX_TRAINER_ROWS(X, M)        \
  MERIDAX_RECORD_HEADER_ROWS(X, M)        \
  X(F, TrainerCode, 12, 5)                \
  MERIDAX_PERSON_DATE_ROWS(X, M)          \
  X(F, TrainerName, 42, 34)               \
  X(F, TrainerNameKana, 76, 30)           \
  X(F, TrainerShortName, 106, 8)          \
  X(F, TrainerNameEnglish, 114, 80)       \
  X(F, SexCode, 194, 1)                   \
  X(F, AffiliationCode, 195, 1)           \
  X(F, InvitationRegion, 196, 20)         \
  X(G, RecentGradedWins, 216, 163, 3, 14) \
  MERIDAX_GRADED_WIN_MEMBER_ROWS(X, M)    \
  X(G, Performance, 705, 1048, 3, 9)      \
  MERIDAX_PERFORMANCE_MEMBER_ROWS(X, M)   \
  X(F, LineEnd, 3849, 2)

namespace meridax::records {

inline constexpr FieldSpec kJockeyLayoutFields[] = {MERIDAX_LAYOUT_ROWS(MERIDAX_JOCKEY_ROWS)};
inline constexpr Layout kJockeyLayout{"KS", kJockeyLayoutFields, 4173, 4161};
static_assert(LayoutIsValid(kJockeyLayout));

namespace ks {
MERIDAX_LAYOUT_REFS(MERIDAX_JOCKEY_ROWS, kJockeyLayout)
}  // namespace ks

inline constexpr FieldSpec kTrainerLayoutFields[] = {MERIDAX_LAYOUT_ROWS(MERIDAX_TRAINER_ROWS)};
inline constexpr Layout kTrainerLayout{"CH", kTrainerLayoutFields, 3862, 3850};
static_assert(LayoutIsValid(kTrainerLayout));

namespace ch {
MERIDAX_LAYOUT_REFS(MERIDAX_TRAINER_ROWS, kTrainerLayout)
}  // namespace ch

// Spot checks of positions that later steps rely on, stored and delivered.
static_assert(ks::Performance.In(1).pos == 1016 && ks::Performance.In(2).pos == 2064 &&
              ks::Performance.In(3).pos == 3112 && ks::Performance.width == 1048);
static_assert(DeliveredFieldOf(kJockeyLayout, "Performance").In(2).pos == 2068 &&
              DeliveredFieldOf(kJockeyLayout, "Performance").In(3).pos == 3120 &&
              DeliveredFieldOf(kJockeyLayout, "Performance").width == 1052);
static_assert(ks::Performance_FlatPrizeTotal.In(1).pos == 1020 &&
              ks::Performance_FlatPrizeTotal.In(1).end() == 1028);
static_assert(DeliveredFieldOf(kJockeyLayout, "Performance.FlatPrizeTotal").In(1).end() == 1029);
static_assert(ks::Performance_FlatFinishCounts.In(1).pos == 1056);
static_assert(DeliveredFieldOf(kJockeyLayout, "Performance.FlatFinishCounts").In(1).pos == 1060);
static_assert(ks::Performance_DistanceFinishCounts.In(1).At(2).Cell(3).pos ==
              1848 + 36 * 1 + 6 * 2);
static_assert(ks::Performance_JumpFinishCounts.In(3).pos == 3188);
static_assert(ks::LineEnd.pos == 4160 && DeliveredFieldOf(kJockeyLayout, "LineEnd").pos == 4172);
static_assert(ks::InvitationRegion.pos == 232 && ks::BirthDate.pos == 34);
static_assert(ch::Performance.In(2).pos == 1753 && ch::Performance.In(3).pos == 2801);
static_assert(DeliveredFieldOf(kTrainerLayout, "Performance").In(2).pos == 1757 &&
              DeliveredFieldOf(kTrainerLayout, "Performance").In(3).pos == 2809);
static_assert(ch::Performance_DistanceFinishCounts.In(3).pos == 3633);
static_assert(DeliveredFieldOf(kTrainerLayout, "Performance.DistanceFinishCounts").In(3).pos ==
              3645);
static_assert(ch::LineEnd.pos == 3849 && ch::LineEnd.end() == 3850);
static_assert(DeliveredFieldOf(kTrainerLayout, "LineEnd").pos == 3861);

}  // namespace meridax::records
