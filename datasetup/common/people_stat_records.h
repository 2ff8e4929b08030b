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

#define MERIDAX_PERSON_STAT_ROWS(X, M) \
  X(F, PersonCode, 1, 5)               \
  X(F, ThisYearTurfTop3Rate, 6, 6)     \
  X(F, ThisYearDirtTop3Rate, 12, 6)    \
  X(F, LastYearTurfTop3Rate, 18, 6)    \
  X(F, LastYearDirtTop3Rate, 24, 6)    \
  X(F, TotalTurfTop3Rate, 30, 6)       \
  X(F, TotalDirtTop3Rate, 36, 6)       \
  X(F, JumpTop3Rate, 42, 6)            \
  X(F, ThisYearTurfTop2Rate, 48, 6)    \
  X(F, ThisYearDirtTop2Rate, 54, 6)    \
  X(F, LastYearTurfTop2Rate, 60, 6)    \
  X(F, LastYearDirtTop2Rate, 66, 6)    \
  X(F, TotalTurfTop2Rate, 72, 6)       \
  X(F, TotalDirtTop2Rate, 78, 6)       \
  X(F, JumpTop2Rate, 84, 6)            \
  X(F, TotalFlatPrize, 90, 9)          \
  X(F, TotalJumpPrize, 99, 9)          \
  X(F, TotalFlatRuns, 108, 6)          \
  X(F, JumpRuns, 114, 6)               \
  X(F, LineEnd, 120, 2)

#define MERIDAX_BREEDER_OWNER_STAT_ROWS(X, M) \
  X(F, BreederOwnerCode, 1, 6)                \
  X(F, Top3Rate, 7, 6)                        \
  X(F, Top2Rate, 13, 6)                       \
  X(F, TotalPrize, 19, 9)                     \
  X(F, Runs, 28, 6)                           \
  X(F, LineEnd, 34, 2)

namespace meridax {

inline constexpr records::FieldSpec kPersonStatLayoutFields[] = {
    MERIDAX_LAYOUT_ROWS(MERIDAX_PERSON_STAT_ROWS)};
inline constexpr records::Layout kPersonStatLayout{"PersonStat", kPersonStatLayoutFields, 121, 121};
static_assert(records::LayoutIsValid(kPersonStatLayout));

namespace person_stat {
MERIDAX_LAYOUT_REFS(MERIDAX_PERSON_STAT_ROWS, kPersonStatLayout)
}  // namespace person_stat

inline constexpr records::FieldSpec kBreederOwnerStatLayoutFields[] = {
    MERIDAX_LAYOUT_ROWS(MERIDAX_BREEDER_OWNER_STAT_ROWS)};
inline constexpr records::Layout kBreederOwnerStatLayout{"BreederOwnerStat",
                                                         kBreederOwnerStatLayoutFields, 35, 35};
static_assert(records::LayoutIsValid(kBreederOwnerStatLayout));

namespace breeder_owner_stat {
MERIDAX_LAYOUT_REFS(MERIDAX_BREEDER_OWNER_STAT_ROWS, kBreederOwnerStatLayout)
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
