#include "win/common/text.h"

#include "core/platform/utf16_win.h"

namespace tarnwick::win {

std::wstring Wide(std::string_view utf8) {
  return platform::Widen(utf8);
}

std::string Utf8(std::wstring_view utf16) {
  return platform::Narrow(utf16);
}

std::wstring WindowTextW(HWND window) {
  const int n = GetWindowTextLengthW(window);
  if (n <= 0)
    return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::string WindowTextUtf8(HWND window) {
  return Utf8(WindowTextW(window));
}

void SetWindowTextUtf8(HWND window, std::string_view text) {
  SetWindowTextW(window, Wide(text).c_str());
}

}  // namespace tarnwick::win
