#include <windows.h>

#include <string>

#include "core/platform/system.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {

std::string ExecutableFolder() {
  std::wstring buf(512, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0)
      return {};
    if (n < buf.size()) {
      buf.resize(n);
      break;
    }
    buf.resize(buf.size() * 2);
  }
  const auto slash = buf.find_last_of(L"\\/");
  if (slash == std::wstring::npos)
    return {};
  return Narrow(buf.substr(0, slash));
}

std::optional<std::string> GetEnvironment(const std::string& name) {
  const std::wstring wname = Widen(name);
  const DWORD n = GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
  if (n == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND)
      return std::nullopt;
    return std::string();
  }
  std::wstring value(n, L'\0');
  const DWORD got = GetEnvironmentVariableW(wname.c_str(), value.data(), n);
  value.resize(got);
  return Narrow(value);
}

std::string ComputerName() {
  return GetEnvironment("COMPUTERNAME").value_or(std::string());
}

std::string HomeFolder() {
  return GetEnvironment("USERPROFILE").value_or(std::string());
}

}  // namespace tarnwick::platform
