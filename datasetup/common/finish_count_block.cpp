#include "datasetup/common/finish_count_block.h"

#include <limits>

#include "platform/numbers.h"
#include "records/horse_layouts.h"

namespace meridax {
namespace {

constexpr int kItemsPerLine = 6;
constexpr int kCountsPerRow = 6;

std::string_view EarningsFlag(std::string_view total) {
  return Val(total) > 0 ? "001" : "000";
}

}  // namespace

FinishCountItemList FinishCountItems(std::string_view rec) {
  namespace um = records::um;
  FinishCountItemList items{};
  int v = 0;
  const auto rows = [&](records::FieldRef table, int count) {
    for (int r = 1; r <= count; ++r) {
      for (int c = 1; c <= kCountsPerRow; ++c) items[++v] = records::View(rec, table.At(r).Cell(c));
    }
  };
  rows(um::FinishCountsByTrack, 7);
  rows(um::FinishCountsByGoing, 12);
  rows(um::FinishCountsByDistance, 6);
  for (int k = 1; k <= 4; ++k) items[++v] = records::View(rec, um::RunningStyleCounts.At(k));
  items[++v] = records::View(rec, um::FlatPrizeTotal);
  items[++v] = records::View(rec, um::JumpPrizeTotal);
  for (int k = 1; k <= kCountsPerRow; ++k) {
    items[++v] = records::View(rec, um::FinishCountsOverall.At(k));
  }
  for (int k = 1; k <= kCountsPerRow; ++k) {
    items[++v] = records::View(rec, um::FinishCountsJra.At(k));
  }
  const std::string_view flat = records::View(rec, um::FlatEarningsTotal);
  const std::string_view jump = records::View(rec, um::JumpEarningsTotal);
  items[++v] = "000";
  items[++v] = "000";
  items[++v] = EarningsFlag(flat);
  items[++v] = EarningsFlag(jump);
  items[++v] = flat;
  items[++v] = jump;
  return items;
}

void WriteFinishCountBlock(std::string_view horseRecord, TextWriter& out) {
  WriteFinishCountBlock(FinishCountItems(horseRecord), out);
}

void WriteFinishCountBlock(const FinishCountItemList& items, TextWriter& out) {
  for (int v = 1; v <= kFinishCountValues; ++v) {
    out.Str(items[v]);
    if (v % kItemsPerLine == 0) out.EndLine();
  }
}

std::int32_t FinishCountValue(std::string_view item) {
  const double value = RoundHalfEven(Val(item));
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return 0;
  }
  return static_cast<std::int32_t>(value);
}

FinishCountValues ReadFinishCountBlock(ItemReader& in) {
  FinishCountValues values{};
  for (int v = 1; v <= kFinishCountValues && !in.AtEnd(); ++v) {
    values[v] = FinishCountValue(in.Next());
  }
  return values;
}

FinishCountValues FinishCountValuesOf(std::string_view horseRecord) {
  return FinishCountValuesOf(FinishCountItems(horseRecord));
}

FinishCountValues FinishCountValuesOf(const FinishCountItemList& items) {
  FinishCountValues values{};
  for (int v = 1; v <= kFinishCountValues; ++v) values[v] = FinishCountValue(items[v]);
  return values;
}

void WriteFinishCountVector(const FinishCountValues& values, TextWriter& out) {
  for (int v = 1; v <= kFinishCountValues; ++v) out.Num(values[v]).EndLine();
}

}  // namespace meridax
