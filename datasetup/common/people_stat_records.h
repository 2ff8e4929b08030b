#pragma once

// The statistics records of people: PersonStatRecord (121 bytes, one per jockey in
// KISHUSEISEI.dat and per trainer in CHOKYOSEISEI.dat) and BreederOwnerStatRecord
// (35 bytes, one per breeder in BREEDERSEISEI.dat and per owner in BANUSISEISEI.dat).
// The factor items look a person up by the code in the first field.

#include <cstdint>
#include <string>
#include <string_view>

#include "records/breeder_owner_sale_layouts.h"
#include "records/layout.h"
#include "records/person_layouts.h"

namespace meridax {

namespace person_stat_detail {
using records::F;
inline constexpr records::FieldSpec kFields[] = {
    F("PersonCode", 1, 5),
    F("ThisYearTurfTop3Rate", 6, 6),
    F("ThisYearDirtTop3Rate", 12, 6),
    F("LastYearTurfTop3Rate", 18, 6),
    F("LastYearDirtTop3Rate", 24, 6),
    F("TotalTurfTop3Rate", 30, 6),
    F("TotalDirtTop3Rate", 36, 6),
    F("JumpTop3Rate", 42, 6),
    F("ThisYearTurfTop2Rate", 48, 6),
    F("ThisYearDirtTop2Rate", 54, 6),
    F("LastYearTurfTop2Rate", 60, 6),
    F("LastYearDirtTop2Rate", 66, 6),
    F("TotalTurfTop2Rate", 72, 6),
    F("TotalDirtTop2Rate", 78, 6),
    F("JumpTop2Rate", 84, 6),
    F("TotalFlatPrize", 90, 9),
    F("TotalJumpPrize", 99, 9),
    F("TotalFlatRuns", 108, 6),
    F("JumpRuns", 114, 6),
    F("LineEnd", 120, 2),
};
}  // namespace person_stat_detail

inline constexpr records::Layout kPersonStatLayout{"PersonStat", person_stat_detail::kFields, 121,
                                                   121};
static_assert(records::LayoutIsValid(kPersonStatLayout));

namespace person_stat {
using records::FieldRef;
inline constexpr FieldRef PersonCode = FieldOf(kPersonStatLayout, "PersonCode");
inline constexpr FieldRef ThisYearTurfTop3Rate = FieldOf(kPersonStatLayout, "ThisYearTurfTop3Rate");
inline constexpr FieldRef ThisYearDirtTop3Rate = FieldOf(kPersonStatLayout, "ThisYearDirtTop3Rate");
inline constexpr FieldRef LastYearTurfTop3Rate = FieldOf(kPersonStatLayout, "LastYearTurfTop3Rate");
inline constexpr FieldRef LastYearDirtTop3Rate = FieldOf(kPersonStatLayout, "LastYearDirtTop3Rate");
inline constexpr FieldRef TotalTurfTop3Rate = FieldOf(kPersonStatLayout, "TotalTurfTop3Rate");
inline constexpr FieldRef TotalDirtTop3Rate = FieldOf(kPersonStatLayout, "TotalDirtTop3Rate");
inline constexpr FieldRef JumpTop3Rate = FieldOf(kPersonStatLayout, "JumpTop3Rate");
inline constexpr FieldRef ThisYearTurfTop2Rate = FieldOf(kPersonStatLayout, "ThisYearTurfTop2Rate");
inline constexpr FieldRef ThisYearDirtTop2Rate = FieldOf(kPersonStatLayout, "ThisYearDirtTop2Rate");
inline constexpr FieldRef LastYearTurfTop2Rate = FieldOf(kPersonStatLayout, "LastYearTurfTop2Rate");
inline constexpr FieldRef LastYearDirtTop2Rate = FieldOf(kPersonStatLayout, "LastYearDirtTop2Rate");
inline constexpr FieldRef TotalTurfTop2Rate = FieldOf(kPersonStatLayout, "TotalTurfTop2Rate");
inline constexpr FieldRef TotalDirtTop2Rate = FieldOf(kPersonStatLayout, "TotalDirtTop2Rate");
inline constexpr FieldRef JumpTop2Rate = FieldOf(kPersonStatLayout, "JumpTop2Rate");
inline constexpr FieldRef TotalFlatPrize = FieldOf(kPersonStatLayout, "TotalFlatPrize");
inline constexpr FieldRef TotalJumpPrize = FieldOf(kPersonStatLayout, "TotalJumpPrize");
inline constexpr FieldRef TotalFlatRuns = FieldOf(kPersonStatLayout, "TotalFlatRuns");
inline constexpr FieldRef JumpRuns = FieldOf(kPersonStatLayout, "JumpRuns");
inline constexpr FieldRef LineEnd = FieldOf(kPersonStatLayout, "LineEnd");
}  // namespace person_stat

namespace breeder_owner_stat_detail {
using records::F;
inline constexpr records::FieldSpec kFields[] = {
    F("BreederOwnerCode", 1, 6), F("Top3Rate", 7, 6), F("Top2Rate", 13, 6),
    F("TotalPrize", 19, 9),      F("Runs", 28, 6),    F("LineEnd", 34, 2),
};
}  // namespace breeder_owner_stat_detail

inline constexpr records::Layout kBreederOwnerStatLayout{
    "BreederOwnerStat", breeder_owner_stat_detail::kFields, 35, 35};
static_assert(records::LayoutIsValid(kBreederOwnerStatLayout));

namespace breeder_owner_stat {
using records::FieldRef;
inline constexpr FieldRef BreederOwnerCode = FieldOf(kBreederOwnerStatLayout, "BreederOwnerCode");
inline constexpr FieldRef Top3Rate = FieldOf(kBreederOwnerStatLayout, "Top3Rate");
inline constexpr FieldRef Top2Rate = FieldOf(kBreederOwnerStatLayout, "Top2Rate");
inline constexpr FieldRef TotalPrize = FieldOf(kBreederOwnerStatLayout, "TotalPrize");
inline constexpr FieldRef Runs = FieldOf(kBreederOwnerStatLayout, "Runs");
inline constexpr FieldRef LineEnd = FieldOf(kBreederOwnerStatLayout, "LineEnd");
}  // namespace breeder_owner_stat

// Where a jockey or trainer record keeps what its statistics are made of. The Performance
// fields are groups of three blocks: this year, last year, career.
struct PersonRecordFields {
  records::FieldRef code;
  records::FieldRef flatPrizeTotal;
  records::FieldRef jumpPrizeTotal;
  records::FieldRef jumpFinishCounts;
  records::FieldRef distanceFinishCounts;  // rows 1-3 turf, 4-6 dirt
};
inline constexpr PersonRecordFields kJockeyStatSources{
    records::ks::JockeyCode, records::ks::Performance_FlatPrizeTotal,
    records::ks::Performance_JumpPrizeTotal, records::ks::Performance_JumpFinishCounts,
    records::ks::Performance_DistanceFinishCounts};
inline constexpr PersonRecordFields kTrainerStatSources{
    records::ch::TrainerCode, records::ch::Performance_FlatPrizeTotal,
    records::ch::Performance_JumpPrizeTotal, records::ch::Performance_JumpFinishCounts,
    records::ch::Performance_DistanceFinishCounts};

// Where a breeder or owner record keeps its career results.
struct BreederOwnerRecordFields {
  records::FieldRef code;
  records::FieldRef careerPrizeTotal;
  records::FieldRef careerFinishCounts;
};
inline constexpr BreederOwnerRecordFields kBreederStatSources{
    records::br::BreederCode, records::br::YearResults_PrizeTotal.In(2),
    records::br::YearResults_FinishCounts.In(2)};
inline constexpr BreederOwnerRecordFields kOwnerStatSources{
    records::bn::OwnerCode, records::bn::YearResults_PrizeTotal.In(2),
    records::bn::YearResults_FinishCounts.In(2)};

// The statistics record of a jockey or trainer from its stored record. Counts are read as
// the finish-count block reads them (a blank count is 0) and summed in 64 bits, so no
// count of the service's width can overflow a sum.
std::string BuildPersonStatRecord(std::string_view record, const PersonRecordFields& sources);

// The statistics record of a breeder (its code cut to 6 bytes) or an owner.
std::string BuildBreederOwnerStatRecord(std::string_view record,
                                        const BreederOwnerRecordFields& sources);

}  // namespace meridax
