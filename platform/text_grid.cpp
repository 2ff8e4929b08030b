#include "platform/text_grid.h"

#include "platform/list_model.h"

#include <algorithm>
#include <stdexcept>

namespace meridax {

TextGrid::TextGrid(int rows, int cols, int defaultColWidth)
    : rows_(std::max(rows, 1)),
      cols_(std::max(cols, 1)),
      stride_(cols_),
      defaultColWidth_(defaultColWidth),
      cells_(static_cast<std::size_t>(rows_) * stride_),
      colWidths_(cols_, defaultColWidth) {}

void TextGrid::SetCols(int cols) {
  cols = std::max(cols, 1);
  if (cols > stride_) {
    std::vector<std::string> grown(static_cast<std::size_t>(rows_) * cols);
    for (int r = 0; r < rows_; ++r) {
      for (int c = 0; c < cols_; ++c)
        grown[static_cast<std::size_t>(r) * cols + c] = std::move(cells_[Index(r, c)]);
    }
    cells_ = std::move(grown);
    stride_ = cols;
  } else if (cols < cols_) {
    for (int r = 0; r < rows_; ++r) {
      for (int c = cols; c < cols_; ++c) cells_[Index(r, c)].clear();
    }
  }
  colWidths_.resize(cols, defaultColWidth_);
  cols_ = cols;
  ++revision_;
}

std::size_t TextGrid::Index(int row, int col) const {
  return static_cast<std::size_t>(row) * stride_ + col;
}

int TextGrid::ColWidth(int col) const {
  if (col < 0 || col >= cols_) throw std::out_of_range("grid column out of range");
  return colWidths_[col];
}

void TextGrid::SetColWidth(int col, int twips) {
  if (col < 0 || col >= cols_) throw std::out_of_range("grid column out of range");
  colWidths_[col] = twips;
  ++revision_;
}

const std::string& TextGrid::TextMatrix(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
    throw std::out_of_range("grid cell out of range");
  }
  return cells_[Index(row, col)];
}

void TextGrid::SetTextMatrix(int row, int col, std::string_view utf8) {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
    throw std::out_of_range("grid cell out of range");
  }
  cells_[Index(row, col)].assign(utf8);
  ++revision_;
}

bool ListModel::Select(std::string_view utf8) {
  const auto it = std::find(items_.begin(), items_.end(), utf8);
  if (it == items_.end()) return false;
  SetSelected(it - items_.begin());
  return true;
}

void ListModel::SetSelected(long long index) {
  selected_ = (index >= 0 && index < static_cast<long long>(items_.size())) ? index : -1;
  ++revision_;
}

std::string ListModel::SelectedText() const {
  return selected_ < 0 ? std::string() : items_[static_cast<std::size_t>(selected_)];
}

}  // namespace meridax
