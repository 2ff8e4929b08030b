#pragma once

// HorseStatRecord (OPTION1N\KYOSOBA.dat and its subset OPTION1N\KYOSOBAA.dat): 228 bytes
// per horse, built from the 174 values of its finish-count block.

#include <string>
#include <string_view>

#include "datasetup/common/finish_count_block.h"
#include "records/layout.h"

// The factor items name the prize fields HorseFlatPrize and HorseJumpPrize.
#define MERIDAX_HORSE_STAT_ROWS(X, M)                                                \
  X(F, HorseId, 1, 10)                                                               \
  X(F, OverallTop3Rate, 11, 6)                                                       \
  X(F, JraTop3Rate, 17, 6)                                                           \
  X(F, JraStarts, 23, 6)                                                             \
  X(F, JumpStarts, 29, 6)                                                            \
  X(F, FlatPrizeTotal, 35, 9) /* HorseFlatPrize */                                   \
  X(F, JumpPrizeTotal, 44, 9) /* HorseJumpPrize */                                   \
  X(F, FlatEarningsTotal, 53, 9)                                                     \
  X(F, JumpEarningsTotal, 62, 9)                                                     \
  /* One rate per count line of the block: 1-7 track, 8-19 going, 20-25 distance. */ \
  X(F, LineTop3Rates, 71, 6, 25)                                                     \
  X(F, RunningStyle, 221, 6)                                                         \
  X(F, LineEnd, 227, 2)

namespace meridax {

inline constexpr records::FieldSpec kHorseStatLayoutFields[] = {
    MERIDAX_LAYOUT_ROWS(MERIDAX_HORSE_STAT_ROWS)};
inline constexpr records::Layout kHorseStatLayout{"HorseStat", kHorseStatLayoutFields, 228, 228};
static_assert(records::LayoutIsValid(kHorseStatLayout));

namespace horse_stat {
MERIDAX_LAYOUT_REFS(MERIDAX_HORSE_STAT_ROWS, kHorseStatLayout)
}  // namespace horse_stat

// The statistics record of a horse from its HorseId as stored and its block values.
std::string BuildHorseStatRecord(std::string_view horseId, const FinishCountValues& values);

}  // namespace meridax
