// The table model behind clsListView: the rows live here (in a CellStore) and nowhere else.
//
// Rows appended in a burst are stored at once but shown to the view in one batch the next time
// events are processed, so a scan that appends a row per match pays for one view update per
// repaint rather than one per row. Readers of the rows (row count, cell texts) always see every
// stored row.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "gui/controls/cell_store.h"
#include "gui/controls/image_list.h"

namespace tarnwick::gui {

class ListViewModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ListViewModel(QObject* parent = nullptr);

  // Every stored row, shown or not yet.
  int storedRowCount() const { return store_.rowCount(); }
  // Inserts a column before `at` (clamped to the existing columns).
  void insertColumn(int at, const QString& caption, Qt::Alignment alignment);
  // Inserts a row before `at` (clamped to the stored rows); returns its index, -1 when refused.
  int insertRow(int at, std::string_view text, CellStore::RowInfo info);
  // Sets a cell of a stored row; false when the row or column does not exist.
  bool setCell(int row, int column, std::string_view text);
  std::string_view cell(int row, int column) const { return store_.cell(row, column); }
  const CellStore::RowInfo& rowInfo(int row) const { return store_.rowInfo(row); }
  void clearRows();
  // Asks the view to scroll to the last row once pending rows are shown.
  void requestScrollToBottom();
  void setImageList(int kind, ImageListHandle images);
  // Which image list the first column's icons come from (0 normal, 1 small).
  void setIconKind(int kind);

  // Shows the rows appended since the last call to the view (normally run from the event loop).
  void publishPending();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  void scrollToBottomRequested();

 private:
  void schedulePublish();

  struct Column {
    QString caption;
    Qt::Alignment alignment;
  };

  CellStore store_;
  std::vector<Column> columns_;
  std::array<ImageListHandle, 3> imageLists_;
  int iconKind_ = 0;
  int shownRows_ = 0;  // rows the view has been told about
  bool publishScheduled_ = false;
  bool scrollPending_ = false;
};

}  // namespace tarnwick::gui
