#pragma once

// ParentStatRecord (OPTION1N\MARE.dat per dam, OPTION1N\STALLION.dat per sire, and the
// outside file OPTION1N\HAHAUMA.dat): 402 bytes per parent, built from the 174 totals of
// its offspring's finish-count blocks. The category window reads it by
// ParentBreedingNumber.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "datasetup/common/finish_count_block.h"
#include "records/layout.h"

// The factor items name the prize and earnings fields OffspringFlatPrize,
// OffspringJumpPrize and OffspringFlatEarningsSum.
#define MERIDAX_PARENT_STAT_ROWS(X, M)                                               \
  X(F, ParentBreedingNumber, 1, 10)                                                  \
  X(F, OverallTop3Rate, 11, 6)                                                       \
  X(F, JraTop3Rate, 17, 6)                                                           \
  X(F, OffspringWithFlatEarnings, 23, 6)                                             \
  X(F, OffspringWithJumpEarnings, 29, 6)                                             \
  X(F, JraStarts, 35, 6)                                                             \
  X(F, JumpStarts, 41, 6)                                                            \
  X(F, OffspringFlatPrizeTotal, 47, 9)    /* OffspringFlatPrize */                   \
  X(F, OffspringJumpPrizeTotal, 56, 9)    /* OffspringJumpPrize */                   \
  X(F, OffspringFlatEarningsTotal, 65, 9) /* OffspringFlatEarningsSum */             \
  X(F, OffspringJumpEarningsTotal, 74, 9)                                            \
  /* One rate per count line of the block: 1-7 track, 8-19 going, 20-25 distance. */ \
  X(F, LineTop3Rates, 83, 6, 25)                                                     \
  X(F, OverallTop2Rate, 233, 6)                                                      \
  X(F, JraTop2Rate, 239, 6)                                                          \
  X(F, LineTop2Rates, 245, 6, 25)                                                    \
  X(F, RunningStyle, 395, 6)                                                         \
  X(F, LineEnd, 401, 2)

namespace meridax {

inline constexpr records::FieldSpec kParentStatLayoutFields[] = {
    MERIDAX_LAYOUT_ROWS(MERIDAX_PARENT_STAT_ROWS)};
inline constexpr records::Layout kParentStatLayout{"ParentStat", kParentStatLayoutFields, 402, 402};
static_assert(records::LayoutIsValid(kParentStatLayout));

namespace parent_stat {
MERIDAX_LAYOUT_REFS(MERIDAX_PARENT_STAT_ROWS, kParentStatLayout)
}  // namespace parent_stat

static_assert(parent_stat::LineTop3Rates.At(7).pos == 119 &&
              parent_stat::LineTop2Rates.At(25).pos == 389);

// A parent's totals: slot v (1 to 174) is the sum of value v over its offspring's blocks.
// 64 bits, so that no sum of a large sire's offspring overflows.
using ParentTotals = std::array<std::int64_t, kFinishCountValues + 1>;

// The statistics record of a parent from its BreedingNumber as listed and its totals.
std::string BuildParentStatRecord(std::string_view breedingNumber, const ParentTotals& totals);

}  // namespace meridax
