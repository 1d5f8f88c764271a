// The commands of tarnwick-cli. Each takes the arguments after its name and returns the exit
// code: 0 success, 1 partial success, 2 usage error or nothing done, 130 cancelled.
#pragma once

#include <string>
#include <vector>

namespace tarnwick::cli {

using Args = std::vector<std::string>;

inline constexpr int kExitOk = 0;
inline constexpr int kExitPartial = 1;
inline constexpr int kExitFailure = 2;
inline constexpr int kExitCancelled = 130;

int RunSettingsCommand(const Args& args);
int RunScanCommand(const Args& args);
int RunZipCommand(const Args& args);
int RunCopyCommand(const Args& args);
int RunRestoreCommand(const Args& args);

// The usage text of all commands.
const char* UsageText();
// Prints "usage: ..." for a usage error and returns kExitFailure.
int UsageError(const std::string& message);

}  // namespace tarnwick::cli
