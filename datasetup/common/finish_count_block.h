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

// The rate of a count line whose six counts start at value `first`: its first `places`
// places over all its starts (FixedRate6).
template <typename Values>
std::string LineRate(const Values& v, int first, int places) {
  return FixedRate6(static_cast<double>(BlockSum(v, first, first + places - 1)),
                    static_cast<double>(BlockSum(v, first, first + 5)));
}

// The HorseFinishCountVector: value v as a bare number on line v.
void WriteFinishCountVector(const FinishCountValues& values, TextWriter& out);

}  // namespace meridax
