#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "core/platform/system.h"

#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace tarnwick::platform {

std::string ExecutableFolder() {
  std::string exe;
#if defined(__APPLE__)
  char buf[PATH_MAX];
  uint32_t size = sizeof buf;
  if (_NSGetExecutablePath(buf, &size) == 0) {
    char real[PATH_MAX];
    if (realpath(buf, real) != nullptr)
      exe = real;
  }
#else
  // The kernel's link to the running image is already the real path.
  std::string buf(PATH_MAX, '\0');
  const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
  if (n > 0)
    exe.assign(buf.data(), static_cast<size_t>(n));
#endif
  const auto slash = exe.find_last_of('/');
  if (slash == std::string::npos)
    return {};
  return slash == 0 ? std::string("/") : exe.substr(0, slash);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::optional<std::string> GetEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr)
    return std::nullopt;
  return std::string(value);
}

std::string ComputerName() {
  char buf[256] = {};
  if (gethostname(buf, sizeof buf - 1) != 0)
    return {};
  return buf;
}

std::string HomeFolder() {
  if (auto home = GetEnvironment("HOME"); home && !home->empty())
    return *home;
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    return pw->pw_dir;
  }
  return {};
}

}  // namespace tarnwick::platform
