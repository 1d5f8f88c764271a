// tarnwick-cli settings: print or change the settings file.
#include <iostream>
#include <optional>

#include "cli/commands.h"
#include "cli/settings_location.h"
#include "core/settings/settings.h"

namespace tarnwick::cli {

int RunSettingsCommand(const Args& args) {
  std::optional<std::string> file;
  Args positional;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      std::cout << UsageText();
      return kExitOk;
    }
    if (args[i] == "--settings") {
      if (i + 1 >= args.size())
        return UsageError("--settings needs a file");
      file = args[++i];
    } else {
      positional.push_back(args[i]);
    }
  }
  const bool set = !positional.empty() && positional[0] == "set";
  if (set ? positional.size() != 3 : !positional.empty()) {
    return UsageError(set ? "settings set takes KEY and VALUE"
                          : "unexpected argument: " + positional[0]);
  }
  const auto path = ResolveSettingsFile(file);
  if (!path)
    return kExitFailure;

  if (!set) {
    for (const char* key : {"extensions", "ignoretemp", "ignoresys"}) {
      std::cout << key << '=' << ReadSetting(*path, kSettingsSection, key) << '\n';
    }
    return kExitOk;
  }
  const std::string& key = positional[1];
  const std::string& value = positional[2];
  if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    std::cerr << "tarnwick-cli: a setting cannot hold a line break or NUL character\n";
    return kExitFailure;
  }
  if (!WriteSetting(*path, kSettingsSection, key, value)) {
    std::cerr << "tarnwick-cli: could not write " << *path << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace tarnwick::cli
