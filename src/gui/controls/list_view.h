// clsListView: the result list. Wraps a table view and its model (ListViewModel), which is the
// only store of the rows; every read goes to the model.
//
// Calling order: construct, Init with the parent window, then View, the styles, Move and one
// ColumnAdd per column, then rows: ItemAdd (first column) followed by SubItemText writes for the
// other columns of the index ItemAdd returned.
#pragma once

#include <QPointer>
#include <QString>
#include <QTableView>
#include <cstdint>
#include <string>
#include <string_view>

#include "gui/controls/image_list.h"

namespace tarnwick::gui {

class ListViewModel;

// View values (the window's view bits).
inline constexpr int LVS_ICON = 0;
inline constexpr int LVS_REPORT = 1;
inline constexpr int LVS_SMALLICON = 2;
inline constexpr int LVS_LIST = 3;
// Column alignments.
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;
// Image-list kinds.
inline constexpr int LVSIL_NORMAL = 0;
inline constexpr int LVSIL_SMALL = 1;
inline constexpr int LVSIL_STATE = 2;
// Extended-style bits.
inline constexpr std::uint32_t LVS_EX_GRIDLINES = 0x0001;
inline constexpr std::uint32_t LVS_EX_FULLROWSELECT = 0x0020;
inline constexpr std::uint32_t LVS_EX_FLATSB = 0x0100;

class clsListView {
 public:
  clsListView() = default;
  clsListView(const clsListView&) = delete;
  clsListView& operator=(const clsListView&) = delete;

  // Creates the list as a visible child of `parent`, 200 by 100 at its top-left corner, in icon
  // view. False (and no list) without a parent. A second Init makes a second list and leaves the
  // first to its parent.
  bool Init(QWidget* parent);
  // Places the list in the parent (pixels, each rounded to the nearest integer, halves to even).
  void Move(float left, float top, float width, float height);
  // Scrolls so the last row is visible (once pending rows are shown).
  void ScrollBottom();
  int ListCount() const;
  // The list's window; null before Init or after its parent destroyed it.
  QTableView* hWnd() const { return mhWnd; }

  // Inserts a row before `index` (appends when `index` is past the last row) with `text` in the
  // first column. The row keeps `index` as its item data. Returns the row's index, or -1 when the
  // list refuses the row (no list, negative index).
  int ItemAdd(int index, const QString& text, int indent = 0, int image = 0);
  int ItemAddUtf8(int index, std::string_view text, int indent = 0, int image = 0);

  // The text of one cell, whole; empty when there is no list or no such cell.
  QString SubItemText(int row, int column) const;
  // The same, as the exact bytes it was stored with (file names that are not valid UTF-8 stay
  // intact, so the file can be opened again).
  std::string SubItemUtf8(int row, int column) const;
  // Sets the text of one cell; does nothing when there is no list or no such cell.
  void SubItemText(int row, int column, const QString& text);
  void SubItemUtf8(int row, int column, std::string_view text);
  // The item data of a row (the index ItemAdd was asked for); 0 when there is no such row.
  int ItemData(int row) const;
  // The image index of a row; 0 when there is no such row.
  int ItemImage(int row) const;

  // Fits a column to the wider of its header and its contents.
  void AutoSizeColumn(int column);

  bool FullRowSelect() const { return (mlExStyle & LVS_EX_FULLROWSELECT) != 0; }
  void FullRowSelect(bool on) { SetExStyle(LVS_EX_FULLROWSELECT, on); }
  // Flat scroll bars have no meaning for this list; the setting is only remembered.
  bool FlatScrollBar() const { return (mlExStyle & LVS_EX_FLATSB) != 0; }
  void FlatScrollBar(bool on) { SetExStyle(LVS_EX_FLATSB, on); }
  bool GridLines() const { return (mlExStyle & LVS_EX_GRIDLINES) != 0; }
  void GridLines(bool on) { SetExStyle(LVS_EX_GRIDLINES, on); }

  int ColumnCount() const { return mlColumnCount; }
  // Appends a column after the existing ones; ColumnCount grows by one whatever happens.
  void ColumnAdd(const QString& caption, int width, int alignment = LVCFMT_LEFT);

  // Shows the icons of `images` beside the rows (kind: LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE).
  void ImageList(int kind, const clsImgList& images);
  void Visible(bool on);
  // The view last written (0 before any); writing sets the list's view from the value's two view
  // bits: report view shows the column headers and every column, the others the first column.
  int View() const { return mlView; }
  void View(int value);
  // Removes every row; the columns stay.
  void Clear();

 private:
  void SetExStyle(std::uint32_t bit, bool on);
  ListViewModel* model() const;

  QPointer<QTableView> mhWnd;
  int mlView = 0;
  int mlColumnCount = 0;
  std::uint32_t mlExStyle = 0;
};

}  // namespace tarnwick::gui
