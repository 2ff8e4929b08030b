#include "datasetup/common/horse_stat_record.h"

#include <cstdint>

#include "datasetup/common/formats.h"

namespace meridax {
namespace {

std::int64_t Sum(const FinishCountValues& v, int first, int last) {
  std::int64_t sum = 0;
  for (int i = first; i <= last; ++i) sum += v[i];
  return sum;
}

// Top-three finishes over starts of the six counts from `first`.
std::string Top3Rate(const FinishCountValues& v, int first) {
  return FixedRate6(static_cast<double>(Sum(v, first, first + 2)),
                    static_cast<double>(Sum(v, first, first + 5)));
}

}  // namespace

std::string BuildHorseStatRecord(std::string_view horseId, const FinishCountValues& v) {
  using records::Put;
  std::string rec(static_cast<std::size_t>(kHorseStatLayout.storedLength), ' ');
  Put(rec, horse_stat::HorseId, horseId);
  Put(rec, horse_stat::OverallTop3Rate, Top3Rate(v, 157));
  Put(rec, horse_stat::JraTop3Rate, Top3Rate(v, 163));
  Put(rec, horse_stat::JraStarts, FixedCount6(Sum(v, 163, 168)));
  Put(rec, horse_stat::JumpStarts, FixedCount6(Sum(v, 37, 42)));  // line 7: the jump row
  Put(rec, horse_stat::FlatPrizeTotal, FixedNumber9(v[155]));
  Put(rec, horse_stat::JumpPrizeTotal, FixedNumber9(v[156]));
  Put(rec, horse_stat::FlatEarningsTotal, FixedNumber9(v[173]));
  Put(rec, horse_stat::JumpEarningsTotal, FixedNumber9(v[174]));
  for (int line = 1; line <= 25; ++line) {
    Put(rec, horse_stat::LineTop3Rates.At(line), Top3Rate(v, 6 * (line - 1) + 1));
  }
  Put(rec, horse_stat::RunningStyle, RunningStyleCode(v[151], v[152], v[153], v[154]));
  Put(rec, horse_stat::LineEnd, "\r\n");
  return rec;
}

}  // namespace meridax
