#pragma once

// HorseStatRecord (OPTION1N\KYOSOBA.dat and its subset OPTION1N\KYOSOBAA.dat): 228 bytes
// per horse, built from the 174 values of its finish-count block.

#include <string>
#include <string_view>

#include "datasetup/common/finish_count_block.h"
#include "records/layout.h"

namespace meridax {

namespace horse_stat_detail {
using records::F;
inline constexpr records::FieldSpec kFields[] = {
    F("HorseId", 1, 10),
    F("OverallTop3Rate", 11, 6),
    F("JraTop3Rate", 17, 6),
    F("JraStarts", 23, 6),
    F("JumpStarts", 29, 6),
    F("FlatPrizeTotal", 35, 9),
    F("JumpPrizeTotal", 44, 9),
    F("FlatEarningsTotal", 53, 9),
    F("JumpEarningsTotal", 62, 9),
    // One rate per count line of the block: 1-7 track, 8-19 going, 20-25 distance.
    F("LineTop3Rates", 71, 6, 25),
    F("RunningStyle", 221, 6),
    F("LineEnd", 227, 2),
};
}  // namespace horse_stat_detail

inline constexpr records::Layout kHorseStatLayout{"HorseStat", horse_stat_detail::kFields, 228,
                                                  228};
static_assert(records::LayoutIsValid(kHorseStatLayout));

namespace horse_stat {
inline constexpr records::FieldRef HorseId = FieldOf(kHorseStatLayout, "HorseId");
inline constexpr records::FieldRef OverallTop3Rate = FieldOf(kHorseStatLayout, "OverallTop3Rate");
inline constexpr records::FieldRef JraTop3Rate = FieldOf(kHorseStatLayout, "JraTop3Rate");
inline constexpr records::FieldRef JraStarts = FieldOf(kHorseStatLayout, "JraStarts");
inline constexpr records::FieldRef JumpStarts = FieldOf(kHorseStatLayout, "JumpStarts");
inline constexpr records::FieldRef FlatPrizeTotal = FieldOf(kHorseStatLayout, "FlatPrizeTotal");
inline constexpr records::FieldRef JumpPrizeTotal = FieldOf(kHorseStatLayout, "JumpPrizeTotal");
inline constexpr records::FieldRef FlatEarningsTotal =
    FieldOf(kHorseStatLayout, "FlatEarningsTotal");
inline constexpr records::FieldRef JumpEarningsTotal =
    FieldOf(kHorseStatLayout, "JumpEarningsTotal");
inline constexpr records::FieldRef LineTop3Rates = FieldOf(kHorseStatLayout, "LineTop3Rates");
inline constexpr records::FieldRef RunningStyle = FieldOf(kHorseStatLayout, "RunningStyle");
inline constexpr records::FieldRef LineEnd = FieldOf(kHorseStatLayout, "LineEnd");
}  // namespace horse_stat

// The statistics record of a horse from its HorseId as stored and its block values.
std::string BuildHorseStatRecord(std::string_view horseId, const FinishCountValues& values);

}  // namespace meridax
