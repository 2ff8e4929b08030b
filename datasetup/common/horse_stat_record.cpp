#include "datasetup/common/horse_stat_record.h"

#include "datasetup/common/formats.h"

namespace meridax {

std::string BuildHorseStatRecord(std::string_view horseId, const FinishCountValues& v) {
  using records::Put;
  std::string rec(static_cast<std::size_t>(kHorseStatLayout.storedLength), ' ');
  Put(rec, horse_stat::HorseId, horseId);
  Put(rec, horse_stat::OverallTop3Rate, LineRate(v, 157, 3));
  Put(rec, horse_stat::JraTop3Rate, LineRate(v, 163, 3));
  Put(rec, horse_stat::JraStarts, FixedCount6(BlockSum(v, 163, 168)));
  Put(rec, horse_stat::JumpStarts, FixedCount6(BlockSum(v, 37, 42)));  // line 7: the jump row
  Put(rec, horse_stat::FlatPrizeTotal, FixedNumber9(v[155]));
  Put(rec, horse_stat::JumpPrizeTotal, FixedNumber9(v[156]));
  Put(rec, horse_stat::FlatEarningsTotal, FixedNumber9(v[173]));
  Put(rec, horse_stat::JumpEarningsTotal, FixedNumber9(v[174]));
  for (int line = 1; line <= 25; ++line) {
    Put(rec, horse_stat::LineTop3Rates.At(line), LineRate(v, 6 * (line - 1) + 1, 3));
  }
  Put(rec, horse_stat::RunningStyle, RunningStyleCode(v[151], v[152], v[153], v[154]));
  Put(rec, horse_stat::LineEnd, "\r\n");
  return rec;
}

}  // namespace meridax
