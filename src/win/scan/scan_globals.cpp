#include "win/scan/scan_globals.h"

#include "win/common/text.h"

namespace tarnwick::win {

HWND ghStatusBar = nullptr;

std::string UserDecimalSeparator() {
  wchar_t separator[8] = L".";
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0)
    return ".";
  return Utf8(separator);
}

}  // namespace tarnwick::win
