// UTF-8 <-> UTF-16 conversion at the Windows API boundary. Paths inside the engine are UTF-8.
#pragma once
#ifdef _WIN32

#include <string>
#include <string_view>

namespace tarnwick::platform {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A path in the form the wide Windows file functions take without the 260-character limit: the
// "\\?\" prefix ("\\?\UNC\" for network paths) before the absolute path. Since Windows takes a
// prefixed path literally, the path is first resolved as Windows would resolve it unprefixed: a
// relative path against the current folder, "/" as "\", "." and ".." applied. Names themselves
// are kept exactly. A path that already has the prefix, or names a device ("\\.\"), is kept.
std::wstring LongPath(std::string_view utf8Path);

// The system's message for a Windows error code (GetLastError()), without its closing full stop
// and line break; "error N" when the system has none.
std::string SystemErrorText(unsigned long error);

}  // namespace tarnwick::platform

#endif
