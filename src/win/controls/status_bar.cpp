#include "win/controls/status_bar.h"

#include "win/common/text.h"

namespace tarnwick::win {

bool InitComCtl(DWORD classes) {
  INITCOMMONCONTROLSEX init{sizeof(init), classes};
  return InitCommonControlsEx(&init) != FALSE;
}

HWND CreateStatusBar(HWND parent) {
  return CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"", parent, 0);
}

void SetStatusText(HWND bar, std::uint8_t part, std::uint16_t style, std::string_view text) {
  if (bar == nullptr)
    return;
  const std::uint16_t previous = GetStatusTextStyle(bar, part);
  const std::wstring wide = Wide(text);
  SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(part | style),
               reinterpret_cast<LPARAM>(wide.c_str()));
  if (previous != style)
    InvalidateRect(bar, nullptr, TRUE);
}

std::uint16_t GetStatusTextStyle(HWND bar, std::uint8_t part) {
  if (bar == nullptr)
    return 0;
  const LRESULT r = SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0);
  return static_cast<std::uint16_t>(HIWORD(static_cast<DWORD>(r)));
}

std::string GetStatusText(HWND bar, std::uint8_t part) {
  if (bar == nullptr)
    return {};
  const LRESULT r = SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0);
  std::wstring text(LOWORD(static_cast<DWORD>(r)) + 1u, L'\0');
  SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(static_cast<DWORD>(r)));
  return Utf8(text);
}

}  // namespace tarnwick::win
