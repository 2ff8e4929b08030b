#pragma once

#include <QProgressBar>
#include <QTableWidget>
#include <string_view>

namespace meridax {

// The progress bar control with Max, Min and Value. Value is clamped to [Min, Max], so a
// status beyond the range cannot make the control fail.
class ProgressBarControl {
 public:
  explicit ProgressBarControl(QProgressBar* bar) : bar_(bar) {}
  void SetMax(long long max);
  void SetMin(long long min);
  void SetValue(long long value);
  long long Max() const { return max_; }
  long long Min() const { return min_; }
  long long Value() const { return value_; }

 private:
  void Apply();
  QProgressBar* bar_;
  long long max_ = 100;
  long long min_ = 0;
  long long value_ = 0;
};

// The grid control: only Cols, ColWidth and TextMatrix are assigned. One fixed row and
// one fixed column, shown as headers of the table.
class GridControl {
 public:
  GridControl(QTableWidget* table, int rows, int cols);
  void SetCols(int cols);
  int Cols() const;
  int Rows() const;
  void SetColWidth(int col, int twips);
  void SetTextMatrix(int row, int col, std::string_view utf8);
  std::string TextMatrix(int row, int col) const;

 private:
  QTableWidget* table_;
};

}  // namespace meridax
