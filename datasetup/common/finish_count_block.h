#pragma once

// A horse's FinishCountBlock: 174 values in 29 lines of six quoted items, the fields of its
// HorseRecord as stored. Lines 1-7 finish counts by track, 8-19 by going, 20-25 by
// distance; 26 the four running-style counts and the flat and jump prize totals; 27 the
// overall and 28 the central finish counts; 29 "000", "000", the flat and jump earnings
// flags ("001" when the total is above 0) and the flat and jump earnings totals.
// The horse step writes it per horse, the offspring steps per offspring.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "datasetup/common/formats.h"
#include "platform/text_file.h"
#include "records/layout.h"

namespace meridax {

inline constexpr int kFinishCountValues = 174;

// Slots 1 to 174 hold values 1 to 174; slot 0 is unused.
using FinishCountValues = std::array<std::int32_t, kFinishCountValues + 1>;

// The 174 items of a horse record's block, in reading order (slot 0 unused).
using FinishCountItemList = std::array<std::string_view, kFinishCountValues + 1>;
FinishCountItemList FinishCountItems(std::string_view horseRecord);

// Writes the 29 lines of the block, of a record or of its items.
void WriteFinishCountBlock(std::string_view horseRecord, TextWriter& out);
void WriteFinishCountBlock(const FinishCountItemList& items, TextWriter& out);

// The value of one item: the number the text begins with, 0 when it does not begin with
// one or when the number does not fit a 32-bit slot.
std::int32_t FinishCountValue(std::string_view item);

// Reads a block back, 174 items in order.
FinishCountValues ReadFinishCountBlock(ItemReader& in);

// The values that reading the written block back gives, taken from the record directly
// or from its items.
FinishCountValues FinishCountValuesOf(std::string_view horseRecord);
FinishCountValues FinishCountValuesOf(const FinishCountItemList& items);

// Sum of values first to last, of one horse's values or of totals over many blocks.
template <typename Values>
std::int64_t BlockSum(const Values& v, int first, int last) {
  std::int64_t sum = 0;
  for (int i = first; i <= last; ++i) sum += v[static_cast<std::size_t>(i)];
  return sum;
}

// Count line L of the block holds values 6L - 5 to 6L.
inline constexpr int kRatedLines = 25;  // track, going and distance lines
inline constexpr int kJumpLine = 7;     // the last track line: jump races
inline constexpr int kOverallLine = 27;
inline constexpr int kJraLine = 28;

// The starts of a count line: the sum of its six counts.
template <typename Values>
std::int64_t LineStarts(const Values& v, int line) {
  return BlockSum(v, 6 * line - 5, 6 * line);
}

// The rate of a count line: its first `places` places over all its starts (FixedRate6).
template <typename Values>
std::string LineRate(const Values& v, int line, int places) {
  return FixedRate6(static_cast<double>(BlockSum(v, 6 * line - 5, 6 * line - 6 + places)),
                    static_cast<double>(LineStarts(v, line)));
}

// The single values of lines 26 and 29.
namespace block_value {
inline constexpr int kFrontRunning = 151;  // then stalking, mid-pack and rear: 152 to 154
inline constexpr int kFlatPrizeTotal = 155;
inline constexpr int kJumpPrizeTotal = 156;
inline constexpr int kFlatEarningsFlag = 171;
inline constexpr int kJumpEarningsFlag = 172;
inline constexpr int kFlatEarningsTotal = 173;
inline constexpr int kJumpEarningsTotal = 174;
}  // namespace block_value

// Where a statistics record keeps what the horse and the parent records both take from a
// block's values: the top-three rates, the starts, the four money totals and the
// running-style code.
struct BlockStatFields {
  records::FieldRef overallTop3Rate;
  records::FieldRef jraTop3Rate;
  records::FieldRef jraStarts;
  records::FieldRef jumpStarts;
  records::FieldRef flatPrizeTotal;
  records::FieldRef jumpPrizeTotal;
  records::FieldRef flatEarningsTotal;
  records::FieldRef jumpEarningsTotal;
  records::FieldRef lineTop3Rates;  // one entry per rated line
  records::FieldRef runningStyle;
};

template <typename Values>
void PutBlockStats(std::string& record, const BlockStatFields& f, const Values& v) {
  namespace bv = block_value;
  using records::Put;
  Put(record, f.overallTop3Rate, LineRate(v, kOverallLine, 3));
  Put(record, f.jraTop3Rate, LineRate(v, kJraLine, 3));
  Put(record, f.jraStarts, FixedCount6(LineStarts(v, kJraLine)));
  Put(record, f.jumpStarts, FixedCount6(LineStarts(v, kJumpLine)));
  Put(record, f.flatPrizeTotal, FixedNumber9(v[bv::kFlatPrizeTotal]));
  Put(record, f.jumpPrizeTotal, FixedNumber9(v[bv::kJumpPrizeTotal]));
  Put(record, f.flatEarningsTotal, FixedNumber9(v[bv::kFlatEarningsTotal]));
  Put(record, f.jumpEarningsTotal, FixedNumber9(v[bv::kJumpEarningsTotal]));
  for (int line = 1; line <= kRatedLines; ++line) {
    Put(record, f.lineTop3Rates.At(line), LineRate(v, line, 3));
  }
  const int style = bv::kFrontRunning;
  Put(record, f.runningStyle,
      RunningStyleCode(static_cast<double>(v[style]), static_cast<double>(v[style + 1]),
                       static_cast<double>(v[style + 2]), static_cast<double>(v[style + 3])));
}

// The HorseFinishCountVector: value v as a bare number on line v.
void WriteFinishCountVector(const FinishCountValues& values, TextWriter& out);

}  // namespace meridax
