#include "datasetup/factors/item_context.h"

#include <stdexcept>

namespace meridax {

std::string_view RunFile::Record(std::int64_t n) const {
  if (n < 1 || n > map_.Count()) return blanks_;
  return map_.Record(n);
}

namespace {
void CheckCell(int row, int column) {
  if (row < 0 || row >= JockeyCountTable::kRows || column < 0 ||
      column >= JockeyCountTable::kColumns) {
    throw std::out_of_range("jockey count table cell out of range");
  }
}
}  // namespace

std::int32_t JockeyCountTable::At(int row, int column) const {
  CheckCell(row, column);
  return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void JockeyCountTable::Set(int row, int column, std::int32_t value) {
  CheckCell(row, column);
  cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = value;
  if (column == 0) indexed_ = false;
}

int JockeyCountTable::FirstRow(std::int32_t jockey, int lastRow) const {
  if (!indexed_) {
    firstRows_.clear();
    for (int row = kRows - 1; row >= 1; --row) firstRows_[cells_[row][0]] = row;
    indexed_ = true;
  }
  const auto it = firstRows_.find(jockey);
  return it != firstRows_.end() && it->second <= lastRow ? it->second : 0;
}

}  // namespace meridax
