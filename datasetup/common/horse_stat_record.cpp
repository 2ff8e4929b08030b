#include "datasetup/common/horse_stat_record.h"

namespace meridax {
namespace {

constexpr BlockStatFields kBlockStats{horse_stat::OverallTop3Rate,   horse_stat::JraTop3Rate,
                                      horse_stat::JraStarts,         horse_stat::JumpStarts,
                                      horse_stat::FlatPrizeTotal,    horse_stat::JumpPrizeTotal,
                                      horse_stat::FlatEarningsTotal, horse_stat::JumpEarningsTotal,
                                      horse_stat::LineTop3Rates,     horse_stat::RunningStyle};

}  // namespace

std::string BuildHorseStatRecord(std::string_view horseId, const FinishCountValues& v) {
  using records::Put;
  std::string rec(static_cast<std::size_t>(kHorseStatLayout.storedLength), ' ');
  Put(rec, horse_stat::HorseId, horseId);
  PutBlockStats(rec, kBlockStats, v);
  Put(rec, horse_stat::LineEnd, "\r\n");
  return rec;
}

}  // namespace meridax
