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

int clsListView::ItemAdd(int index, std::string_view text, int indent, int image) {
  if (mhWnd == nullptr || index < 0)
    return -1;
  const gui::CellStore::RowInfo info{static_cast<std::int32_t>(index),
                                     static_cast<std::int16_t>(image),
                                     static_cast<std::int16_t>(indent)};
  const int count = rows_.rowCount();
  if (index >= count) {
    rows_.insertRow(count, text, info);
    return count;
  }
  // Inserted among the rows: the rows below move down, so the control redraws them all now.
  rows_.insertRow(index, text, info);
  selection_.Clear();
  shownRows_ = rows_.rowCount();
  ListView_SetItemCountEx(mhWnd, shownRows_, 0);
  return index;
}

std::string clsListView::SubItemText(int row, int column) const {
  return std::string(rows_.cell(row, column));
}

void clsListView::SubItemText(int row, int column, std::string_view text) {
  if (mhWnd == nullptr || row < 0 || row >= rows_.rowCount() || column < 0 ||
      column >= std::max(1, rows_.columnCount())) {
    return;
  }
  rows_.setCell(row, column, text);
  if (row < shownRows_)
    ListView_RedrawItems(mhWnd, row, row);
}

int clsListView::ItemData(int row) const {
  if (row < 0 || row >= rows_.rowCount())
    return 0;
  return rows_.rowInfo(row).itemData;
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

void clsListView::ColumnAdd(std::string_view caption, int width, int alignment) {
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
  if (ListView_InsertColumn(mhWnd, at, &column) < 0)
    return;
  // The store always has the first column; later ones are added beside it.
  if (at > 0 && at >= rows_.columnCount())
    rows_.insertColumn(rows_.columnCount());
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

void clsListView::Clear() {
  rows_.clearRows();
  selection_.Clear();
  shownRows_ = 0;
  scrollPending_ = false;
  if (mhWnd != nullptr)
    ListView_SetItemCountEx(mhWnd, 0, 0);
}

void clsListView::Publish() {
  if (mhWnd == nullptr)
    return;
  const int count = rows_.rowCount();
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

void clsListView::FillDisplayInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (item.iItem < 0 || item.iItem >= rows_.rowCount())
    return;
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    const std::wstring text = Wide(rows_.cell(item.iItem, item.iSubItem));
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, n);
    item.pszText[n] = L'\0';
  }
  const gui::CellStore::RowInfo& row = rows_.rowInfo(item.iItem);
  if ((item.mask & LVIF_IMAGE) != 0)
    item.iImage = row.image;
  if ((item.mask & LVIF_INDENT) != 0)
    item.iIndent = row.indent;
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
