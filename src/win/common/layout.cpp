#include "win/common/layout.h"

#include <cmath>

namespace tarnwick::win {

int WindowDpi(HWND window) {
  const UINT dpi = window != nullptr ? GetDpiForWindow(window) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : kDefaultDpi;
}

int TwipsToPixels(int twips, int dpi) {
  return MulDiv(twips, dpi, 1440);
}

int PixelsAt(int pixelsAt96, int dpi) {
  return MulDiv(pixelsAt96, dpi, kDefaultDpi);
}

void SetClientSize(HWND window, int width, int height) {
  RECT r{0, 0, width, height};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  AdjustWindowRectExForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(WindowDpi(window)));
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceControls(HWND dialog, std::span<const TwipsPlace> places, int dpi) {
  for (const TwipsPlace& p : places) {
    if (HWND control = GetDlgItem(dialog, p.id)) {
      MoveWindow(control, TwipsToPixels(p.left, dpi), TwipsToPixels(p.top, dpi),
                 TwipsToPixels(p.width, dpi), TwipsToPixels(p.height, dpi), TRUE);
    }
  }
}

FontHandle MakeFont(int dpi, double points, bool bold, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcscpy_s(lf.lfFaceName, L"Tahoma");
  return FontHandle(CreateFontIndirectW(&lf));
}

void SetFontOnChildren(HWND window, HFONT font) {
  EnumChildWindows(
      window,
      [](HWND child, LPARAM f) -> BOOL {
        SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(f), TRUE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font));
}

void CentreWindow(HWND window, HWND over) {
  RECT area{};
  if (over != nullptr && IsWindowVisible(over)) {
    GetWindowRect(over, &area);
  } else {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
    area = info.rcWork;
  }
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  SetWindowPos(window, nullptr, area.left + (area.right - area.left - w) / 2,
               area.top + (area.bottom - area.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveToSuggestedRect(HWND window, LPARAM suggestedRect) {
  const auto* suggested = reinterpret_cast<const RECT*>(suggestedRect);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tarnwick::win
