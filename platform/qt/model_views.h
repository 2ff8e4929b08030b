#pragma once

#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QLabel>
#include <QListView>
#include <QTableView>
#include <cstddef>
#include <functional>

#include "platform/list_model.h"
#include "platform/text_grid.h"

namespace meridax {

// The cells of a TextGrid for a view, read-only. The fixed row and column are the view's
// headers, so they stay in place while the cells scroll: cell (r, c) of the model is
// TextMatrix(r + 1, c + 1), the horizontal header TextMatrix(0, c + 1), the vertical
// header TextMatrix(r + 1, 0).
class TextGridModel : public QAbstractTableModel {
 public:
  explicit TextGridModel(const TextGrid& grid, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  const TextGrid& grid() const { return grid_; }
  // Shows what changed in the grid since the last call; cheap when nothing did.
  bool Refresh();

 private:
  const TextGrid& grid_;
  std::size_t revision_;
  int rows_, cols_;
};

// The grid control: a table view over a TextGridModel with the frozen fixed row and column,
// column widths from ColWidth (15 twips a pixel) and the fixed corner cell's text.
class GridView : public QTableView {
 public:
  GridView(const TextGrid& grid, QWidget* parent);
  TextGridModel& Cells() const { return *model_; }
  QLabel* Corner() const { return corner_; }
  void Refresh();

 protected:
  void updateGeometries() override;

 private:
  void ApplyWidths();
  TextGridModel* model_;
  QLabel* corner_;
};

// The entries of a ListModel for a view, in the order added.
class ListBoxModel : public QAbstractListModel {
 public:
  explicit ListBoxModel(const ListModel& list, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // Adds the entries appended since the last call (entries are never removed).
  void Refresh();

 private:
  const ListModel& list_;
  int shown_ = 0;
};

// The list box: uniform rows, so 200,000 entries stay responsive.
class ListBoxView : public QListView {
 public:
  ListBoxView(const ListModel& list, QWidget* parent);
  ListBoxModel& Entries() const { return *model_; }
  // Shows new entries and the list's selection.
  void Refresh();
  // Called once when the operator chooses an entry: a click (also on the entry already
  // chosen) or a move of the selection with the keyboard, as a list box's click event is.
  void OnChoose(std::function<void()> choose) { choose_ = std::move(choose); }

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  const ListModel& list_;
  ListBoxModel* model_;
  std::function<void()> choose_;
  bool movedByPress_ = false;  // the press of this click moved the selection, and chose
};

}  // namespace meridax
