#include "datasetup/common/people_stat_records.h"

#include "datasetup/common/finish_count_block.h"
#include "datasetup/common/formats.h"

namespace meridax {
namespace {

using records::FieldRef;
using records::Put;
using records::View;

constexpr int kCareerBlock = 3;

// Places 1-3, places 1-2 and runs of a set of six-count rows.
struct PlaceSums {
  std::int64_t top3 = 0;
  std::int64_t top2 = 0;
  std::int64_t runs = 0;

  // Six counts: an array of six fields, or one row of a table of six cells.
  void AddRow(std::string_view record, FieldRef six) {
    for (int c = 1; c <= 6; ++c) {
      const FieldRef field = six.cells > 1 ? six.Cell(c) : six.At(c);
      const std::int64_t count = FinishCountValue(View(record, field));
      if (c <= 2) top2 += count;
      if (c <= 3) top3 += count;
      runs += count;
    }
  }
  std::string Top3Rate() const { return Rate(top3); }
  std::string Top2Rate() const { return Rate(top2); }

 private:
  std::string Rate(std::int64_t places) const {
    return FixedRate6(static_cast<double>(places), static_cast<double>(runs));
  }
};

// The turf (rows 1-3) or dirt (rows 4-6) sums of one block's distance counts.
PlaceSums DistanceSums(std::string_view record, FieldRef distanceCounts, int block, int firstRow) {
  PlaceSums sums;
  const FieldRef rows = distanceCounts.In(block);
  for (int r = firstRow; r < firstRow + 3; ++r) sums.AddRow(record, rows.At(r));
  return sums;
}

}  // namespace

std::string BuildPersonStatRecord(std::string_view record, const PersonRecordFields& src) {
  namespace ps = person_stat;
  std::string stat(static_cast<std::size_t>(kPersonStatLayout.storedLength), ' ');
  Put(stat, ps::PersonCode, View(record, src.code));
  struct BlockRates {
    FieldRef turfTop3, dirtTop3, turfTop2, dirtTop2;
  };
  constexpr BlockRates kBlocks[] = {
      {ps::ThisYearTurfTop3Rate, ps::ThisYearDirtTop3Rate, ps::ThisYearTurfTop2Rate,
       ps::ThisYearDirtTop2Rate},
      {ps::LastYearTurfTop3Rate, ps::LastYearDirtTop3Rate, ps::LastYearTurfTop2Rate,
       ps::LastYearDirtTop2Rate},
      {ps::TotalTurfTop3Rate, ps::TotalDirtTop3Rate, ps::TotalTurfTop2Rate, ps::TotalDirtTop2Rate},
  };
  for (int b = 1; b <= kCareerBlock; ++b) {
    const PlaceSums turf = DistanceSums(record, src.distanceFinishCounts, b, 1);
    const PlaceSums dirt = DistanceSums(record, src.distanceFinishCounts, b, 4);
    const BlockRates& rates = kBlocks[b - 1];
    Put(stat, rates.turfTop3, turf.Top3Rate());
    Put(stat, rates.dirtTop3, dirt.Top3Rate());
    Put(stat, rates.turfTop2, turf.Top2Rate());
    Put(stat, rates.dirtTop2, dirt.Top2Rate());
    if (b == kCareerBlock) Put(stat, ps::TotalFlatRuns, FixedCount6(turf.runs + dirt.runs));
  }
  PlaceSums jump;
  jump.AddRow(record, src.jumpFinishCounts.In(kCareerBlock));
  Put(stat, ps::JumpRuns, FixedCount6(jump.runs));
  Put(stat, ps::JumpTop3Rate, jump.Top3Rate());
  Put(stat, ps::JumpTop2Rate, jump.Top2Rate());
  Put(stat, ps::TotalFlatPrize, View(record, src.flatPrizeTotal.In(kCareerBlock)));
  Put(stat, ps::TotalJumpPrize, View(record, src.jumpPrizeTotal.In(kCareerBlock)));
  Put(stat, ps::LineEnd, "\r\n");
  return stat;
}

std::string BuildBreederOwnerStatRecord(std::string_view record,
                                        const BreederOwnerRecordFields& src) {
  namespace bos = breeder_owner_stat;
  std::string stat(static_cast<std::size_t>(kBreederOwnerStatLayout.storedLength), ' ');
  PlaceSums career;
  career.AddRow(record, src.careerFinishCounts);
  // Put cuts on the right: a breeder's 8-byte code to its first 6, the 10-byte prize
  // total to its first 9.
  Put(stat, bos::BreederOwnerCode, View(record, src.code));
  Put(stat, bos::Top3Rate, career.Top3Rate());
  Put(stat, bos::Top2Rate, career.Top2Rate());
  Put(stat, bos::TotalPrize, View(record, src.careerPrizeTotal));
  Put(stat, bos::Runs, FixedCount6(career.runs));
  Put(stat, bos::LineEnd, "\r\n");
  return stat;
}

}  // namespace meridax
