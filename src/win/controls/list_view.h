// clsListView: the result list, a report-style list view in owner-data (virtual) mode. The rows
// live in a compact row store owned by this object; the control asks for the texts of the rows
// it draws (LVN_GETDISPINFOW), so a million rows cost little more than their texts. The selection
// is followed through the control's notifications, never by asking the control row by row.
//
// Calling order: construct, Init with the parent window, then View, the styles, Move and one
// ColumnAdd per column, then rows: ItemAdd (first column) followed by SubItemText writes for the
// other columns of the index ItemAdd returned. The parent forwards WM_NOTIFY to OnNotify.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "gui/controls/cell_store.h"
#include "win/controls/image_list.h"
#include "win/controls/selection_ranges.h"

namespace tarnwick::win {

class clsListView {
 public:
  clsListView() = default;
  clsListView(const clsListView&) = delete;
  clsListView& operator=(const clsListView&) = delete;

  // Creates the control as a visible child of `parent` (identifier `id`), 200 by 100 at its
  // top-left corner, in icon view. False when it could not be made.
  bool Init(HWND parent, int id = 0);
  // Places the control in the parent (pixels, each rounded to the nearest integer, halves to
  // even), repainting.
  void Move(float left, float top, float width, float height);
  // Scrolls so the last row is visible, once the rows added so far are shown.
  void ScrollBottom();
  int ListCount() const { return rows_.rowCount(); }
  HWND hWnd() const { return mhWnd; }

  // Inserts a row before `index` (appends when `index` is past the last row) with `text` in the
  // first column; returns the row's index, or -1 when refused (no control, negative index).
  int ItemAdd(int index, std::string_view text, int indent = 0, int image = 0);
  // The text of one cell, whole and exactly as stored; empty when there is no such cell.
  std::string SubItemText(int row, int column) const;
  // Sets the text of one cell; nothing happens when there is no control or no such cell.
  void SubItemText(int row, int column, std::string_view text);
  // The item data of a row: the index ItemAdd was asked for.
  int ItemData(int row) const;

  void AutoSizeColumn(int column);
  bool FullRowSelect() const { return (mlExStyle & LVS_EX_FULLROWSELECT) != 0; }
  void FullRowSelect(bool on) { SetExStyle(LVS_EX_FULLROWSELECT, on); }
  bool FlatScrollBar() const { return (mlExStyle & LVS_EX_FLATSB) != 0; }
  void FlatScrollBar(bool on) { SetExStyle(LVS_EX_FLATSB, on); }
  bool GridLines() const { return (mlExStyle & LVS_EX_GRIDLINES) != 0; }
  void GridLines(bool on) { SetExStyle(LVS_EX_GRIDLINES, on); }
  int ColumnCount() const { return mlColumnCount; }
  // Appends a column after the existing ones; ColumnCount grows by one whatever happens.
  void ColumnAdd(std::string_view caption, int width, int alignment = LVCFMT_LEFT);
  // Shows `images` beside the rows (LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE).
  void ImageList(int kind, const clsImgList& images);
  void Visible(bool on);
  // The view last written (0 before any); writing sets the view bits of the window's style.
  int View() const { return mlView; }
  void View(int value);
  // Removes every row; the columns stay.
  void Clear();

  // Tells the control how many rows there are now. Rows added in a burst are shown together the
  // next time this runs (the scan calls it before it lets messages run), so the control is told
  // once per repaint rather than once per row.
  void Publish();
  // Handles the control's notifications; true (with `result` set) when it was one of its own.
  bool OnNotify(const NMHDR& header, LRESULT& result);
  // The selected rows.
  const SelectionRanges& Selection() const { return selection_; }

 private:
  void SetExStyle(DWORD bit, bool on);
  void FillDisplayInfo(NMLVDISPINFOW& info);

  HWND mhWnd = nullptr;
  int mlView = 0;
  int mlColumnCount = 0;
  DWORD mlExStyle = 0;
  gui::CellStore rows_;
  SelectionRanges selection_;
  int shownRows_ = 0;
  bool scrollPending_ = false;
};

}  // namespace tarnwick::win
