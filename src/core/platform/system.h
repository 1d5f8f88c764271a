// What the program asks of the operating system besides files: its own folder, environment
// variables, the computer's name, and the path conventions of the platform.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnwick::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
// Windows file systems ignore letter case: paths compare without it.
inline constexpr bool kFileSystemIgnoresCase = true;
#else
inline constexpr char kPathSeparator = '/';
inline constexpr bool kFileSystemIgnoresCase = false;
#endif

// True for a character that separates folders in a path on this platform ("\" and "/" on
// Windows, "/" elsewhere).
constexpr bool IsPathSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

// The folder that holds the running executable, without a trailing separator. Taken from the OS
// (the executable's real path, or the module file name on Windows), never from the current
// directory. Empty if the OS cannot tell.
std::string ExecutableFolder();

// The program's command-line arguments as UTF-8, the program's name first. On Windows they are
// read from the wide command line: the narrow `argv` there is in the ANSI code page, which cannot
// hold every name. Elsewhere `argv` as it is.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// The value of an environment variable, or nothing when it is not set.
std::optional<std::string> GetEnvironment(const std::string& name);

// The computer's name as the user knows it: COMPUTERNAME on Windows, the host name elsewhere.
// Empty when unknown.
std::string ComputerName();

// The user's home folder (where a user's documents are on Linux and macOS); empty when unknown.
std::string HomeFolder();

}  // namespace tarnwick::platform
