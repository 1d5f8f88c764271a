#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <memory>
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

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr)
    return std::vector<std::string>(argv, argv + argc);
  const auto release = [](LPWSTR* p) { LocalFree(p); };
  const std::unique_ptr<LPWSTR, decltype(release)> owner(wide, release);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i)
    arguments.push_back(Narrow(wide[i]));
  return arguments;
}

std::optional<std::string> GetEnvironment(const std::string& name) {
  const std::wstring wname = Widen(name);
  std::wstring value;
  for (;;) {
    // A variable that is set but empty also gives 0; only the error code tells it from a
    // missing one, so a stale code from an earlier call must not be read.
    SetLastError(ERROR_SUCCESS);
    const DWORD n =
        GetEnvironmentVariableW(wname.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return std::nullopt;
      return std::string();
    }
    if (n < value.size()) {
      value.resize(n);
      return Narrow(value);
    }
    // Too small (or the value grew in between): n is the size needed, terminating zero included.
    value.resize(n);
  }
}

std::string ComputerName() {
  return GetEnvironment("COMPUTERNAME").value_or(std::string());
}

std::string HomeFolder() {
  return GetEnvironment("USERPROFILE").value_or(std::string());
}

}  // namespace tarnwick::platform
