#include "win/windows/list_box.h"

#include "win/common/text.h"

namespace tarnwick::win {

int ListBoxCount(HWND list) {
  const LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
  return n > 0 ? static_cast<int>(n) : 0;
}

std::string ListBoxText(HWND list, int index) {
  const LRESULT n = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n <= 0)
    return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return Utf8(text);
}

std::vector<std::string> ListBoxEntries(HWND list) {
  std::vector<std::string> entries;
  const int n = ListBoxCount(list);
  entries.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    entries.push_back(ListBoxText(list, i));
  return entries;
}

void ListBoxAppend(HWND list, std::string_view text) {
  const std::wstring wide = Wide(text);
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void ListBoxReplace(HWND list, int index, std::string_view text) {
  const std::wstring wide = Wide(text);
  SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(wide.c_str()));
}

int ListBoxSelection(HWND list) {
  const LRESULT p = SendMessageW(list, LB_GETCURSEL, 0, 0);
  return p == LB_ERR ? -1 : static_cast<int>(p);
}

void ListBoxSelect(HWND list, int index) {
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace tarnwick::win
