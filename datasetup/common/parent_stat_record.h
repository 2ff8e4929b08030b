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

namespace meridax {

namespace parent_stat_detail {
using records::F;
inline constexpr records::FieldSpec kFields[] = {
    F("ParentBreedingNumber", 1, 10),
    F("OverallTop3Rate", 11, 6),
    F("JraTop3Rate", 17, 6),
    F("OffspringWithFlatEarnings", 23, 6),
    F("OffspringWithJumpEarnings", 29, 6),
    F("JraStarts", 35, 6),
    F("JumpStarts", 41, 6),
    F("OffspringFlatPrizeTotal", 47, 9),
    F("OffspringJumpPrizeTotal", 56, 9),
    F("OffspringFlatEarningsTotal", 65, 9),
    F("OffspringJumpEarningsTotal", 74, 9),
    // One rate per count line of the block: 1-7 track, 8-19 going, 20-25 distance.
    F("LineTop3Rates", 83, 6, 25),
    F("OverallTop2Rate", 233, 6),
    F("JraTop2Rate", 239, 6),
    F("LineTop2Rates", 245, 6, 25),
    F("RunningStyle", 395, 6),
    F("LineEnd", 401, 2),
};
}  // namespace parent_stat_detail

inline constexpr records::Layout kParentStatLayout{"ParentStat", parent_stat_detail::kFields, 402,
                                                   402};
static_assert(records::LayoutIsValid(kParentStatLayout));

namespace parent_stat {
using records::FieldRef;
inline constexpr FieldRef ParentBreedingNumber = FieldOf(kParentStatLayout, "ParentBreedingNumber");
inline constexpr FieldRef OverallTop3Rate = FieldOf(kParentStatLayout, "OverallTop3Rate");
inline constexpr FieldRef JraTop3Rate = FieldOf(kParentStatLayout, "JraTop3Rate");
inline constexpr FieldRef OffspringWithFlatEarnings =
    FieldOf(kParentStatLayout, "OffspringWithFlatEarnings");
inline constexpr FieldRef OffspringWithJumpEarnings =
    FieldOf(kParentStatLayout, "OffspringWithJumpEarnings");
inline constexpr FieldRef JraStarts = FieldOf(kParentStatLayout, "JraStarts");
inline constexpr FieldRef JumpStarts = FieldOf(kParentStatLayout, "JumpStarts");
inline constexpr FieldRef OffspringFlatPrizeTotal =
    FieldOf(kParentStatLayout, "OffspringFlatPrizeTotal");
inline constexpr FieldRef OffspringJumpPrizeTotal =
    FieldOf(kParentStatLayout, "OffspringJumpPrizeTotal");
inline constexpr FieldRef OffspringFlatEarningsTotal =
    FieldOf(kParentStatLayout, "OffspringFlatEarningsTotal");
inline constexpr FieldRef OffspringJumpEarningsTotal =
    FieldOf(kParentStatLayout, "OffspringJumpEarningsTotal");
inline constexpr FieldRef LineTop3Rates = FieldOf(kParentStatLayout, "LineTop3Rates");
inline constexpr FieldRef OverallTop2Rate = FieldOf(kParentStatLayout, "OverallTop2Rate");
inline constexpr FieldRef JraTop2Rate = FieldOf(kParentStatLayout, "JraTop2Rate");
inline constexpr FieldRef LineTop2Rates = FieldOf(kParentStatLayout, "LineTop2Rates");
inline constexpr FieldRef RunningStyle = FieldOf(kParentStatLayout, "RunningStyle");
inline constexpr FieldRef LineEnd = FieldOf(kParentStatLayout, "LineEnd");
}  // namespace parent_stat

static_assert(parent_stat::LineTop3Rates.At(7).pos == 119 &&
              parent_stat::LineTop2Rates.At(25).pos == 389);

// A parent's totals: slot v (1 to 174) is the sum of value v over its offspring's blocks.
// 64 bits, so that no sum of a large sire's offspring overflows.
using ParentTotals = std::array<std::int64_t, kFinishCountValues + 1>;

// The statistics record of a parent from its BreedingNumber as listed and its totals.
std::string BuildParentStatRecord(std::string_view breedingNumber, const ParentTotals& totals);

}  // namespace meridax
