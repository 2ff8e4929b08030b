#include "datasetup/common/parent_stat_record.h"

#include "datasetup/common/formats.h"

namespace meridax {
namespace {

namespace ps = parent_stat;

constexpr BlockStatFields kBlockStats{ps::OverallTop3Rate,
                                      ps::JraTop3Rate,
                                      ps::JraStarts,
                                      ps::JumpStarts,
                                      ps::OffspringFlatPrizeTotal,
                                      ps::OffspringJumpPrizeTotal,
                                      ps::OffspringFlatEarningsTotal,
                                      ps::OffspringJumpEarningsTotal,
                                      ps::LineTop3Rates,
                                      ps::RunningStyle};

}  // namespace

std::string BuildParentStatRecord(std::string_view breedingNumber, const ParentTotals& t) {
  using records::Put;
  std::string rec(static_cast<std::size_t>(kParentStatLayout.storedLength), ' ');
  Put(rec, ps::ParentBreedingNumber, breedingNumber);
  PutBlockStats(rec, kBlockStats, t);
  // A parent's sum of the earnings flags counts its offspring with earnings.
  Put(rec, ps::OffspringWithFlatEarnings, FixedCount6(t[block_value::kFlatEarningsFlag]));
  Put(rec, ps::OffspringWithJumpEarnings, FixedCount6(t[block_value::kJumpEarningsFlag]));
  Put(rec, ps::OverallTop2Rate, LineRate(t, kOverallLine, 2));
  Put(rec, ps::JraTop2Rate, LineRate(t, kJraLine, 2));
  for (int line = 1; line <= kRatedLines; ++line) {
    Put(rec, ps::LineTop2Rates.At(line), LineRate(t, line, 2));
  }
  Put(rec, ps::LineEnd, "\r\n");
  return rec;
}

}  // namespace meridax
