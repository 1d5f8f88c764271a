#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <ctime>

#include "core/platform/path_rules.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {
namespace {

// Separators compare equal whichever way they lean.
std::wstring foldForCompare(std::wstring text) {
  // The invariant upper-case mapping is the one NTFS compares names with; the length does not
  // change.
  if (!text.empty()) {
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(),
                  static_cast<int>(text.size()), text.data(), static_cast<int>(text.size()),
                  nullptr, nullptr, 0);
  }
  for (auto& c : text) {
    if (c == L'/')
      c = L'\\';
  }
  return text;
}

}  // namespace

std::string PathKey(std::string_view path) {
  return Narrow(foldForCompare(Widen(path)));
}

std::optional<std::string> StripFolderPrefix(std::string_view path, std::string_view folder) {
  const std::wstring wpath = Widen(path);
  const std::wstring wfolder = Widen(folder);
  if (wpath.size() < wfolder.size())
    return std::nullopt;
  if (foldForCompare(wpath.substr(0, wfolder.size())) != foldForCompare(wfolder)) {
    return std::nullopt;
  }
  return Narrow(std::wstring_view(wpath).substr(wfolder.size()));
}

std::optional<CivilTime> LocalCivilTime(std::int64_t unixSeconds) {
  const __time64_t t = unixSeconds;
  std::tm tm{};
  if (_localtime64_s(&tm, &t) != 0)
    return std::nullopt;
  return CivilTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace tarnwick::platform
