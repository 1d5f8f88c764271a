#include "cli/scan_options.h"

#include <iostream>
#include <optional>

#include "cli/settings_location.h"
#include "core/platform/file_io.h"
#include "core/platform/system.h"
#include "core/settings/settings.h"

namespace tarnwick::cli {

std::string DefaultScanFolder() {
#ifdef _WIN32
  const auto windir = platform::GetEnvironment("WINDIR");
  if (!windir)
    return {};
  const auto slash = windir->find('\\');
  return slash == std::string::npos ? std::string() : windir->substr(0, slash + 1);
#else
  return platform::HomeFolder();
#endif
}

std::string RootFolderOf(std::string folder) {
  if (folder.empty() || !platform::IsPathSeparator(folder.back())) {
    folder += platform::kPathSeparator;
  }
  return folder;
}

std::variant<ScanCommandLine, int> ParseScanCommandLine(const Args& args,
                                                        std::size_t leadingCount) {
  std::optional<std::string> patterns;
  std::optional<bool> ignoreTemp;
  std::optional<bool> ignoreSys;
  std::optional<std::string> settingsFile;
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << UsageText();
      return kExitOk;
    } else if (arg == "--patterns" || arg == "--settings") {
      if (i + 1 >= args.size())
        return UsageError(arg + " needs a value");
      (arg == "--patterns" ? patterns : settingsFile) = args[++i];
    } else if (arg == "--ignore-temp" || arg == "--no-ignore-temp") {
      ignoreTemp = arg == "--ignore-temp";
    } else if (arg == "--ignore-sys" || arg == "--no-ignore-sys") {
      ignoreSys = arg == "--ignore-sys";
    } else {
      return UsageError("unknown option: " + arg);
    }
  }
  if (positional.size() < leadingCount)
    return UsageError("missing argument");
  if (positional.size() > leadingCount + 1) {
    return UsageError("unexpected argument: " + positional[leadingCount + 1]);
  }

  ScanCommandLine line;
  line.leading.assign(positional.begin(), positional.begin() + static_cast<long>(leadingCount));
  std::string folder;
  if (positional.size() > leadingCount) {
    folder = positional[leadingCount];
  } else {
    folder = DefaultScanFolder();
    if (folder.empty())
      return UsageError("no FOLDER given and no default folder known");
  }
  line.options.folder = RootFolderOf(std::move(folder));

  // The settings file is looked at only for what the command line leaves open.
  if (!patterns || !ignoreTemp || !ignoreSys) {
    if (settingsFile && !platform::IsOrdinaryFile(*settingsFile)) {
      return UsageError("settings file not found: " + *settingsFile);
    }
    const auto file = ResolveSettingsFile(settingsFile);
    if (!file)
      return kExitFailure;
    if (!patterns)
      patterns = ReadSetting(*file, kSettingsSection, "extensions");
    if (!ignoreTemp)
      ignoreTemp = ReadSetting(*file, kSettingsSection, "ignoretemp") == "1";
    if (!ignoreSys)
      ignoreSys = ReadSetting(*file, kSettingsSection, "ignoresys") == "1";
  }
  line.options.patterns = *patterns;
  line.options.ignoreTemp = *ignoreTemp;
  line.options.ignoreSys = *ignoreSys;
  return line;
}

}  // namespace tarnwick::cli
