#pragma once

// Horse (UM), breeding-horse (HN) and offspring (SK) records. Stored and delivered layouts
// are the same.

#include "records/layout.h"

#define MERIDAX_HORSE_ROWS(X, M)                               \
  MERIDAX_RECORD_HEADER_ROWS(X, M)                             \
  X(F, HorseId, 12, 10)                                        \
  X(F, DeregistrationCode, 22, 1)                              \
  X(F, RegisteredYear, 23, 4)                                  \
  X(F, RegisteredMonth, 27, 2)                                 \
  X(F, RegisteredDay, 29, 2)                                   \
  X(Span, RegisteredDate, RegisteredYear, RegisteredDay)       \
  X(F, DeregisteredYear, 31, 4)                                \
  X(F, DeregisteredMonth, 35, 2)                               \
  X(F, DeregisteredDay, 37, 2)                                 \
  X(Span, DeregisteredDate, DeregisteredYear, DeregisteredDay) \
  X(F, BirthYear, 39, 4)                                       \
  X(F, BirthMonth, 43, 2)                                      \
  X(F, BirthDay, 45, 2)                                        \
  X(Span, BirthDate, BirthYear, BirthDay)                      \
  X(F, HorseName, 47, 36)                                      \
  X(F, HorseNameKana, 83, 36)                                  \
  X(F, HorseNameEnglish, 119, 60)                              \
  X(F, JraStableFlag, 179, 1)                                  \
  X(F, Reserved1, 180, 19)                                     \
  X(F, HorseSymbolCode, 199, 2)                                \
  X(F, SexCode, 201, 1)                                        \
  X(F, BreedCode, 202, 1)                                      \
  X(F, CoatColorCode, 203, 2)                                  \
  X(G, Pedigree, 205, 46, 14, 2)                               \
  M(Pedigree, F, BreedingNumber, 0, 10)                        \
  M(Pedigree, F, HorseName, 10, 36)                            \
  X(F, AffiliationCode, 849, 1)                                \
  X(F, TrainerCode, 850, 5)                                    \
  X(F, TrainerShortName, 855, 8)                               \
  X(F, InvitationRegion, 863, 20)                              \
  X(F, BreederCode, 883, 8)                                    \
  X(F, BreederName, 891, 72)                                   \
  X(F, BirthplaceName, 963, 20)                                \
  X(F, OwnerCode, 983, 6)                                      \
  X(F, OwnerName, 989, 64)                                     \
  X(F, FlatPrizeTotal, 1053, 9)                                \
  X(F, JumpPrizeTotal, 1062, 9)                                \
  X(F, FlatAddedTotal, 1071, 9)                                \
  X(F, JumpAddedTotal, 1080, 9)                                \
  X(F, FlatEarningsTotal, 1089, 9)                             \
  X(F, JumpEarningsTotal, 1098, 9)                             \
  X(F, FinishCountsOverall, 1107, 3, 6)                        \
  X(F, FinishCountsJra, 1125, 3, 6)                            \
  X(T, FinishCountsByTrack, 1143, 18, 7, 6)                    \
  X(T, FinishCountsByGoing, 1269, 18, 12, 6)                   \
  X(T, FinishCountsByDistance, 1485, 18, 6, 6)                 \
  X(F, RunningStyleCounts, 1593, 3, 4)                         \
  X(F, RegisteredRaceCount, 1605, 3)                           \
  X(F, LineEnd, 1608, 2)

#define MERIDAX_BREEDING_HORSE_ROWS(X, M) \
  MERIDAX_RECORD_HEADER_ROWS(X, M)        \
  X(F, BreedingNumber, 12, 10)            \
  X(F, Reserved1, 22, 8)                  \
  X(F, HorseId, 30, 10)                   \
  X(F, Reserved2, 40, 1)                  \
  X(F, HorseName, 41, 36)                 \
  X(F, HorseNameKana, 77, 40)             \
  X(F, HorseNameEnglish, 117, 80)         \
  X(F, BirthYear, 197, 4)                 \
  X(F, SexCode, 201, 1)                   \
  X(F, BreedCode, 202, 1)                 \
  X(F, CoatColorCode, 203, 2)             \
  X(F, ImportCode, 205, 1)                \
  X(F, ImportYear, 206, 4)                \
  X(F, BirthplaceName, 210, 20)           \
  X(F, SireBreedingNumber, 230, 10)       \
  X(F, DamBreedingNumber, 240, 10)        \
  X(F, LineEnd, 250, 2)

#define MERIDAX_OFFSPRING_ROWS(X, M)        \
  MERIDAX_RECORD_HEADER_ROWS(X, M)          \
  X(F, HorseId, 12, 10)                     \
  X(F, BirthYear, 22, 4)                    \
  X(F, BirthMonth, 26, 2)                   \
  X(F, BirthDay, 28, 2)                     \
  X(Span, BirthDate, BirthYear, BirthDay)   \
  X(F, SexCode, 30, 1)                      \
  X(F, BreedCode, 31, 1)                    \
  X(F, CoatColorCode, 32, 2)                \
  X(F, ImportCode, 34, 1)                   \
  X(F, ImportYear, 35, 4)                   \
  X(F, BreederCode, 39, 8)                  \
  X(F, BirthplaceName, 47, 20)              \
  X(F, PedigreeBreedingNumbers, 67, 10, 14) \
  X(F, LineEnd, 207, 2)

namespace meridax::records {

inline constexpr FieldSpec kHorseLayoutFields[] = {MERIDAX_LAYOUT_ROWS(MERIDAX_HORSE_ROWS)};
inline constexpr Layout kHorseLayout{"UM", kHorseLayoutFields, 1609, 1609};
static_assert(LayoutIsValid(kHorseLayout));

namespace um {
MERIDAX_LAYOUT_REFS(MERIDAX_HORSE_ROWS, kHorseLayout)
}  // namespace um

inline constexpr FieldSpec kBreedingHorseLayoutFields[] = {
    MERIDAX_LAYOUT_ROWS(MERIDAX_BREEDING_HORSE_ROWS)};
inline constexpr Layout kBreedingHorseLayout{"HN", kBreedingHorseLayoutFields, 251, 251};
static_assert(LayoutIsValid(kBreedingHorseLayout));

namespace hn {
MERIDAX_LAYOUT_REFS(MERIDAX_BREEDING_HORSE_ROWS, kBreedingHorseLayout)
}  // namespace hn

inline constexpr FieldSpec kOffspringLayoutFields[] = {MERIDAX_LAYOUT_ROWS(MERIDAX_OFFSPRING_ROWS)};
inline constexpr Layout kOffspringLayout{"SK", kOffspringLayoutFields, 208, 208};
static_assert(LayoutIsValid(kOffspringLayout));

namespace sk {
MERIDAX_LAYOUT_REFS(MERIDAX_OFFSPRING_ROWS, kOffspringLayout)
}  // namespace sk

// Spot checks of positions that later steps rely on.
static_assert(um::Pedigree.In(2).pos == 251);
static_assert(um::Pedigree_BreedingNumber.In(2).pos == 251 &&
              um::Pedigree_BreedingNumber.In(2).end() == 260);
static_assert(um::Pedigree_HorseName.In(2).pos == 261 && um::Pedigree_HorseName.In(2).end() == 296);
static_assert(um::Pedigree.In(14).pos == 803);
static_assert(um::FinishCountsByGoing.At(12).pos == 1467);
static_assert(um::FinishCountsByGoing.At(12).Cell(6).pos == 1482 &&
              um::FinishCountsByGoing.At(12).Cell(6).end() == 1484);
static_assert(um::BirthDate.pos == 39 && um::BirthDate.width == 8);
static_assert(um::RunningStyleCounts.At(4).end() == 1604);
static_assert(hn::BirthYear.pos == 197 && hn::BirthplaceName.pos == 210);
static_assert(sk::PedigreeBreedingNumbers.At(2).pos == 77 &&
              sk::PedigreeBreedingNumbers.At(2).end() == 86);

}  // namespace meridax::records
