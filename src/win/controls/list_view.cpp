#include "win/controls/list_view.h"

#include <algorithm>
#include <cmath>

#include "win/common/text.h"

namespace tarnwick::win {
namespace {

int roundHalfEven(float v) {
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace

bool clsListView::Init(HWND parent, int id) {
  mhWnd = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                          WS_CHILD | WS_TABSTOP | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0, 200, 100,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  if (mhWnd == nullptr)
    return false;
  // Drawn off screen first: rows arriving during a scan do not flicker.
  ListView_SetExtendedListViewStyleEx(mhWnd, LVS_EX_DOUBLEBUFFER, LVS_EX_DOUBLEBUFFER);
  ShowWindow(mhWnd, SW_SHOWNORMAL);
  return true;
}

void clsListView::Move(float left, float top, float width, float height) {
  MoveWindow(mhWnd, roundHalfEven(left), roundHalfEven(top), roundHalfEven(width),
             roundHalfEven(height), TRUE);
}

void clsListView::ScrollBottom() {
  scrollPending_ = true;
}

void clsListView::SetRows(const RowSource* rows) {
  rows_ = rows;
  selection_.Clear();
  scrollPending_ = false;
  shownRows_ = ListCount();
  if (mhWnd != nullptr)
    ListView_SetItemCountEx(mhWnd, shownRows_, 0);
}

std::string clsListView::SubItemText(int row, int column) const {
  if (rows_ == nullptr || row < 0 || row >= rows_->Count() || column < 0 ||
      column >= std::max(1, mlColumnCount)) {
    return {};
  }
  return rows_->Cell(row, column);
}

void clsListView::AutoSizeColumn(int column) {
  Publish();
  ListView_SetColumnWidth(mhWnd, column, LVSCW_AUTOSIZE_USEHEADER);
}

void clsListView::SetExStyle(DWORD bit, bool on) {
  if (on) {
    mlExStyle |= bit;
  } else {
    mlExStyle &= ~bit;
  }
  if (mhWnd == nullptr)
    return;
  const DWORD current = ListView_GetExtendedListViewStyle(mhWnd);
  ListView_SetExtendedListViewStyleEx(mhWnd, 0, on ? (current | bit) : (current & ~bit));
}

void clsListView::ColumnAdd(const std::string& caption, int width, int alignment) {
  const int at = mlColumnCount++;
  if (mhWnd == nullptr)
    return;
  std::wstring text = Wide(caption);
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = alignment;
  column.cx = width;
  column.pszText = text.data();
  column.iSubItem = at;
  ListView_InsertColumn(mhWnd, at, &column);
}

void clsListView::ImageList(int kind, const clsImgList& images) {
  ListView_SetImageList(mhWnd, images.hWnd(), kind);
}

void clsListView::Visible(bool on) {
  ShowWindow(mhWnd, on ? SW_SHOWNORMAL : SW_HIDE);
}

void clsListView::View(int value) {
  mlView = value;
  if (mhWnd == nullptr)
    return;
  const LONG_PTR style = GetWindowLongPtrW(mhWnd, GWL_STYLE);
  SetWindowLongPtrW(mhWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | value);
}

void clsListView::Publish() {
  if (mhWnd == nullptr)
    return;
  const int count = ListCount();
  if (count != shownRows_) {
    shownRows_ = count;
    ListView_SetItemCountEx(mhWnd, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  }
  if (scrollPending_) {
    scrollPending_ = false;
    if (count > 0)
      ListView_EnsureVisible(mhWnd, count - 1, FALSE);
  }
}

void clsListView::FillDisplayInfo(NMLVDISPINFOW& info) const {
  LVITEMW& item = info.item;
  if (item.iItem < 0 || item.iItem >= ListCount())
    return;
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    const std::wstring text = Wide(rows_->Cell(item.iItem, item.iSubItem));
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, n);
    item.pszText[n] = L'\0';
  }
  if ((item.mask & LVIF_IMAGE) != 0)
    item.iImage = 0;
  if ((item.mask & LVIF_INDENT) != 0)
    item.iIndent = 0;
}

bool clsListView::OnNotify(const NMHDR& header, LRESULT& result) {
  if (mhWnd == nullptr || header.hwndFrom != mhWnd)
    return false;
  result = 0;
  switch (header.code) {
    case LVN_GETDISPINFOW:
      FillDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
      return true;
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) == 0)
        return true;
      const bool was = (change.uOldState & LVIS_SELECTED) != 0;
      const bool is = (change.uNewState & LVIS_SELECTED) != 0;
      if (change.iItem < 0) {
        // The change applies to every row.
        if (is) {
          selection_.Set(0, shownRows_, true);
        } else {
          selection_.Clear();
        }
      } else if (was != is) {
        selection_.Set(change.iItem, change.iItem + 1, is);
      }
      return true;
    }
    case LVN_ODSTATECHANGED: {
      const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
      const bool was = (change.uOldState & LVIS_SELECTED) != 0;
      const bool is = (change.uNewState & LVIS_SELECTED) != 0;
      if (was != is)
        selection_.Set(change.iFrom, change.iTo + 1, is);
      return true;
    }
    case LVN_ODFINDITEMW:
      result = -1;  // no type-ahead search in the result list
      return true;
    default:
      return false;
  }
}

}  // namespace tarnwick::win
