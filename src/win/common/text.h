// Texts between the program (UTF-8) and the wide Windows functions (UTF-16).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tarnwick::win {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

// The whole text of a window or control.
std::wstring WindowTextW(HWND window);
std::string WindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);

}  // namespace tarnwick::win
