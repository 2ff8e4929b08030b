#include "platform/qt/model_views.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <utility>

#include "platform/qt/widget_host.h"

namespace meridax {
namespace {

QString Utf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TextGridModel::TextGridModel(const TextGrid& grid, QObject* parent)
    : QAbstractTableModel(parent),
      grid_(grid),
      revision_(grid.revision()),
      rows_(grid.Rows()),
      cols_(grid.Cols()) {}

int TextGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_ - 1;
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : cols_ - 1;
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return Utf8(grid_.TextMatrix(index.row() + 1, index.column() + 1));
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || section < 0) return {};
  if (orientation == Qt::Horizontal) {
    return section + 1 < cols_ ? Utf8(grid_.TextMatrix(0, section + 1)) : QVariant();
  }
  return section + 1 < rows_ ? Utf8(grid_.TextMatrix(section + 1, 0)) : QVariant();
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool TextGridModel::Refresh() {
  if (grid_.revision() == revision_) return false;
  beginResetModel();
  revision_ = grid_.revision();
  rows_ = grid_.Rows();
  cols_ = grid_.Cols();
  endResetModel();
  return true;
}

GridView::GridView(const TextGrid& grid, QWidget* parent)
    : QTableView(parent), model_(new TextGridModel(grid, this)), corner_(new QLabel(this)) {
  setModel(model_);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setCornerButtonEnabled(false);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  corner_->setObjectName("Corner");
  corner_->setAutoFillBackground(true);
  corner_->setBackgroundRole(QPalette::Button);
  Refresh();
  ApplyWidths();
}

void GridView::ApplyWidths() {
  const TextGrid& grid = model_->grid();
  verticalHeader()->setFixedWidth(TwipsToPixels(grid.ColWidth(0)));
  for (int c = 1; c < grid.Cols(); ++c) {
    horizontalHeader()->resizeSection(c - 1, TwipsToPixels(grid.ColWidth(c)));
  }
  // The cells start where the fixed column now ends.
  updateGeometries();
}

void GridView::Refresh() {
  if (model_->Refresh()) ApplyWidths();
  corner_->setText(Utf8(model_->grid().TextMatrix(0, 0)));
}

void GridView::updateGeometries() {
  QTableView::updateGeometries();
  corner_->setGeometry(frameWidth(), frameWidth(), verticalHeader()->width(),
                       horizontalHeader()->height());
}

ListBoxModel::ListBoxModel(const ListModel& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), shown_(static_cast<int>(list.Count())) {}

int ListBoxModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return Utf8(list_.Item(static_cast<std::size_t>(index.row())));
}

void ListBoxModel::Refresh() {
  const int count = static_cast<int>(list_.Count());
  if (count == shown_) return;
  beginInsertRows({}, shown_, count - 1);
  shown_ = count;
  endInsertRows();
}

ListBoxView::ListBoxView(const ListModel& list, QWidget* parent)
    : QListView(parent), list_(list), model_(new ListBoxModel(list, this)) {
  setModel(model_);
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (!current.isValid()) return;
            movedByPress_ = true;
            if (choose_) choose_();
          });
  connect(this, &QListView::clicked, this, [this](const QModelIndex&) {
    if (!std::exchange(movedByPress_, false) && choose_) choose_();
  });
}

void ListBoxView::mousePressEvent(QMouseEvent* event) {
  movedByPress_ = false;  // a keyboard move before this press chose already
  QListView::mousePressEvent(event);
}

void ListBoxView::Refresh() {
  model_->Refresh();
  // Showing the steps' selection is not a click: no signal goes out.
  const long long selected = list_.Selected();
  const QModelIndex index =
      selected < 0 ? QModelIndex() : model_->index(static_cast<int>(selected));
  if (index == currentIndex()) return;
  const QSignalBlocker blocker(selectionModel());
  if (index.isValid()) {
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  } else {
    selectionModel()->clear();
  }
  viewport()->update();
}

}  // namespace meridax
