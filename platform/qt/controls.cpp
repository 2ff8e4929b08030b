#include "platform/qt/controls.h"

#include <QHeaderView>
#include <algorithm>
#include <climits>

#include "platform/qt/widget_host.h"

namespace meridax {

void ProgressBarControl::SetMax(long long max) {
  max_ = max;
  Apply();
}

void ProgressBarControl::SetMin(long long min) {
  min_ = min;
  Apply();
}

void ProgressBarControl::SetValue(long long value) {
  value_ = value;
  Apply();
}

void ProgressBarControl::Apply() {
  auto clampInt = [](long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
  };
  const int lo = clampInt(std::min(min_, max_));
  const int hi = clampInt(std::max(min_, max_));
  bar_->setRange(lo, hi);
  bar_->setValue(std::clamp(clampInt(value_), lo, hi));
}

GridControl::GridControl(QTableWidget* table, int rows, int cols) : table_(table) {
  table_->setRowCount(rows);
  table_->setColumnCount(cols);
  table_->horizontalHeader()->setVisible(false);
  table_->verticalHeader()->setVisible(false);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void GridControl::SetCols(int cols) {
  table_->setColumnCount(cols);
}
int GridControl::Cols() const {
  return table_->columnCount();
}
int GridControl::Rows() const {
  return table_->rowCount();
}

void GridControl::SetColWidth(int col, int twips) {
  table_->setColumnWidth(col, TwipsToPixels(twips));
}

void GridControl::SetTextMatrix(int row, int col, std::string_view utf8) {
  auto* item = table_->item(row, col);
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  if (item) {
    item->setText(text);
  } else {
    item = new QTableWidgetItem(text);
    if (row == 0 || col == 0) item->setBackground(table_->palette().button());
    table_->setItem(row, col, item);
  }
}

std::string GridControl::TextMatrix(int row, int col) const {
  const auto* item = table_->item(row, col);
  return item ? item->text().toStdString() : std::string();
}

}  // namespace meridax
