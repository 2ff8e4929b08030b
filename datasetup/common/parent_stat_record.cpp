#include "datasetup/common/parent_stat_record.h"

#include "datasetup/common/formats.h"

namespace meridax {
namespace {

// The rate of count line `line` (values 6 line - 5 to 6 line).
std::string RateOfLine(const ParentTotals& t, int line, int places) {
  return LineRate(t, 6 * line - 5, places);
}

constexpr int kOverallLine = 27;
constexpr int kJraLine = 28;
constexpr int kJumpLine = 7;

}  // namespace

std::string BuildParentStatRecord(std::string_view breedingNumber, const ParentTotals& t) {
  namespace ps = parent_stat;
  using records::Put;
  std::string rec(static_cast<std::size_t>(kParentStatLayout.storedLength), ' ');
  Put(rec, ps::ParentBreedingNumber, breedingNumber);
  Put(rec, ps::OverallTop3Rate, RateOfLine(t, kOverallLine, 3));
  Put(rec, ps::JraTop3Rate, RateOfLine(t, kJraLine, 3));
  Put(rec, ps::OffspringWithFlatEarnings, FixedCount6(t[171]));
  Put(rec, ps::OffspringWithJumpEarnings, FixedCount6(t[172]));
  Put(rec, ps::JraStarts, FixedCount6(BlockSum(t, 163, 168)));
  Put(rec, ps::JumpStarts, FixedCount6(BlockSum(t, 6 * kJumpLine - 5, 6 * kJumpLine)));
  Put(rec, ps::OffspringFlatPrizeTotal, FixedNumber9(t[155]));
  Put(rec, ps::OffspringJumpPrizeTotal, FixedNumber9(t[156]));
  Put(rec, ps::OffspringFlatEarningsTotal, FixedNumber9(t[173]));
  Put(rec, ps::OffspringJumpEarningsTotal, FixedNumber9(t[174]));
  for (int line = 1; line <= 25; ++line) {
    Put(rec, ps::LineTop3Rates.At(line), RateOfLine(t, line, 3));
    Put(rec, ps::LineTop2Rates.At(line), RateOfLine(t, line, 2));
  }
  Put(rec, ps::OverallTop2Rate, RateOfLine(t, kOverallLine, 2));
  Put(rec, ps::JraTop2Rate, RateOfLine(t, kJraLine, 2));
  // The code's four characters, then two blanks.
  Put(rec, ps::RunningStyle,
      RunningStyleCode(static_cast<double>(t[151]), static_cast<double>(t[152]),
                       static_cast<double>(t[153]), static_cast<double>(t[154])));
  Put(rec, ps::LineEnd, "\r\n");
  return rec;
}

}  // namespace meridax
