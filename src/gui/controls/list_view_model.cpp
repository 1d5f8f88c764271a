#include "gui/controls/list_view_model.h"

#include <QByteArrayView>
#include <QMetaObject>
#include <algorithm>

namespace tarnwick::gui {

ListViewModel::ListViewModel(QObject* parent) : QAbstractTableModel(parent) {}

void ListViewModel::insertColumn(int at, const QString& caption, Qt::Alignment alignment) {
  at = std::clamp(at, 0, static_cast<int>(columns_.size()));
  beginInsertColumns({}, at, at);
  // The store always holds the first column (row texts exist before any column does).
  if (!columns_.empty())
    store_.insertColumn(at);
  columns_.insert(columns_.begin() + at, Column{caption, alignment});
  endInsertColumns();
}

int ListViewModel::insertRow(int at, std::string_view text, CellStore::RowInfo info) {
  if (at < 0)
    return -1;
  const int count = store_.rowCount();
  if (at >= count) {
    // Appending: stored now, shown with the next batch.
    store_.insertRow(count, text, info);
    schedulePublish();
    return count;
  }
  // Inserting among the rows: the view must see the pending rows first so indexes agree.
  publishPending();
  beginInsertRows({}, at, at);
  store_.insertRow(at, text, info);
  ++shownRows_;
  endInsertRows();
  return at;
}

bool ListViewModel::setCell(int row, int column, std::string_view text) {
  if (row < 0 || row >= store_.rowCount() || column < 0 ||
      column >= std::max(1, static_cast<int>(columns_.size()))) {
    return false;
  }
  store_.setCell(row, column, text);
  if (row < shownRows_) {
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
  }
  return true;
}

void ListViewModel::clearRows() {
  beginResetModel();
  store_.clearRows();
  shownRows_ = 0;
  endResetModel();
}

void ListViewModel::requestScrollToBottom() {
  scrollPending_ = true;
  schedulePublish();
}

void ListViewModel::setImageList(int kind, ImageListHandle images) {
  if (kind < 0 || kind >= static_cast<int>(imageLists_.size()))
    return;
  imageLists_[static_cast<std::size_t>(kind)] = std::move(images);
  if (shownRows_ > 0)
    emit dataChanged(index(0, 0), index(shownRows_ - 1, 0), {Qt::DecorationRole});
}

void ListViewModel::setIconKind(int kind) {
  if (iconKind_ == kind)
    return;
  iconKind_ = kind;
  if (shownRows_ > 0)
    emit dataChanged(index(0, 0), index(shownRows_ - 1, 0), {Qt::DecorationRole});
}

void ListViewModel::schedulePublish() {
  if (publishScheduled_)
    return;
  publishScheduled_ = true;
  QMetaObject::invokeMethod(this, &ListViewModel::publishPending, Qt::QueuedConnection);
}

void ListViewModel::publishPending() {
  publishScheduled_ = false;
  const int stored = store_.rowCount();
  if (stored > shownRows_) {
    beginInsertRows({}, shownRows_, stored - 1);
    shownRows_ = stored;
    endInsertRows();
  }
  if (scrollPending_) {
    scrollPending_ = false;
    emit scrollToBottomRequested();
  }
}

int ListViewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownRows_;
}

int ListViewModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shownRows_)
    return {};
  const int row = index.row();
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
      const std::string_view text = store_.cell(row, column);
      return QString::fromUtf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(columns_[static_cast<std::size_t>(column)].alignment |
                                 Qt::AlignVCenter);
    case Qt::DecorationRole: {
      if (column != 0)
        return {};
      const ImageListHandle& images = imageLists_[static_cast<std::size_t>(iconKind_)];
      const int image = store_.rowInfo(row).image;
      if (!images || image < 0 || image >= static_cast<int>(images->size()))
        return {};
      return (*images)[static_cast<std::size_t>(image)];
    }
    default:
      return {};
  }
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(columns_.size())) {
    return {};
  }
  const Column& column = columns_[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole)
    return column.caption;
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(column.alignment | Qt::AlignVCenter);
  }
  return {};
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

}  // namespace tarnwick::gui
