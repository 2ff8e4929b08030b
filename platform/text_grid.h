#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace meridax {

// The grid control as the steps use it: a fixed number of rows, `Cols` columns that can
// grow and shrink (never below 1), a width per column in twips and a text per cell. Row 0
// and column 0 are the fixed row and column. Texts are UTF-8 and kept verbatim, trailing
// blanks included. An index outside the grid throws std::out_of_range, as the control
// fails such an assignment.
class TextGrid {
 public:
  TextGrid(int rows, int cols, int defaultColWidth = 1000);

  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  // Cells of columns dropped by shrinking are gone; new columns start empty.
  void SetCols(int cols);

  int ColWidth(int col) const;
  void SetColWidth(int col, int twips);

  const std::string& TextMatrix(int row, int col) const;
  void SetTextMatrix(int row, int col, std::string_view utf8);

  // Bumped by every change, so a view can tell whether it must refresh.
  std::size_t revision() const { return revision_; }

 private:
  std::size_t Index(int row, int col) const;

  int rows_;
  int cols_;
  int stride_;  // allocated columns per row; grows, never shrinks
  int defaultColWidth_;
  std::vector<std::string> cells_;
  std::vector<int> colWidths_;
  std::size_t revision_ = 0;
};

}  // namespace meridax
