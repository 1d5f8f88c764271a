// clsListView: the result list, a report-style list view in owner-data (virtual) mode. The rows
// are not copied into the control: it asks for the texts of the rows it draws
// (LVN_GETDISPINFOW) and the list reads them from its row source, so a million rows cost nothing
// beyond the store that holds them. The selection is followed through the control's
// notifications, never by asking the control row by row.
//
// Calling order: construct, Init with the parent window, then View, the styles, Move and one
// ColumnAdd per column, then SetRows. The parent forwards WM_NOTIFY to OnNotify.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "win/controls/image_list.h"
#include "win/controls/selection_ranges.h"

namespace tarnwick::win {

// The rows a list shows: their number and the UTF-8 text of each cell.
class RowSource {
 public:
  virtual ~RowSource() = default;
  virtual int Count() const = 0;
  virtual std::string Cell(int row, int column) const = 0;
};

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
  // The rows shown; not owned, they must outlive the list or be replaced first (null: none).
  void SetRows(const RowSource* rows);
  int ListCount() const { return rows_ != nullptr ? rows_->Count() : 0; }
  HWND hWnd() const { return mhWnd; }
  // The text of one cell, whole; empty when there is no such cell.
  std::string SubItemText(int row, int column) const;

  void AutoSizeColumn(int column);
  bool FullRowSelect() const { return (mlExStyle & LVS_EX_FULLROWSELECT) != 0; }
  void FullRowSelect(bool on) { SetExStyle(LVS_EX_FULLROWSELECT, on); }
  bool FlatScrollBar() const { return (mlExStyle & LVS_EX_FLATSB) != 0; }
  void FlatScrollBar(bool on) { SetExStyle(LVS_EX_FLATSB, on); }
  bool GridLines() const { return (mlExStyle & LVS_EX_GRIDLINES) != 0; }
  void GridLines(bool on) { SetExStyle(LVS_EX_GRIDLINES, on); }
  int ColumnCount() const { return mlColumnCount; }
  // Appends a column after the existing ones; ColumnCount grows by one whatever happens.
  void ColumnAdd(const std::string& caption, int width, int alignment = LVCFMT_LEFT);
  // Shows `images` beside the rows (LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE).
  void ImageList(int kind, const clsImgList& images);
  void Visible(bool on);
  // The view last written (0 before any); writing sets the view bits of the window's style.
  int View() const { return mlView; }
  void View(int value);

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
  void FillDisplayInfo(NMLVDISPINFOW& info) const;

  HWND mhWnd = nullptr;
  int mlView = 0;
  int mlColumnCount = 0;
  DWORD mlExStyle = 0;
  const RowSource* rows_ = nullptr;
  SelectionRanges selection_;
  int shownRows_ = 0;
  bool scrollPending_ = false;
};

}  // namespace tarnwick::win
