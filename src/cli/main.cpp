// tarnwick-cli: the engine from the command line. Dispatches to one command per subcommand.
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "core/platform/system.h"

namespace tarnwick::cli {

const char* UsageText() {
  return "usage: tarnwick-cli COMMAND [ARGS]\n"
         "\n"
         "  settings [--settings FILE]                 print the three settings\n"
         "  settings set KEY VALUE [--settings FILE]   store one setting of section \"app\"\n"
         "  scan [FOLDER] [SCAN OPTIONS]               list every matching file\n"
         "  zip ARCHIVE [FOLDER] [SCAN OPTIONS] [--no-verify] [--include-online]\n"
         "                                             scan, then archive every match; the\n"
         "                                             archive is read back and checked unless\n"
         "                                             --no-verify\n"
         "  copy DEST [FOLDER] [SCAN OPTIONS] [--overwrite] [--include-online]\n"
         "                                             scan, then copy every match into DEST,\n"
         "                                             keeping the folders below FOLDER\n"
         "  restore ARCHIVE... [--to FOLDER] [--map FROM=TO]... [--conflict "
         "skip|replace|keep-both]\n"
         "          [--dry-run]                        put the archive's files back: in their old\n"
         "                                             places mapped onto this computer, or below\n"
         "                                             FOLDER; --dry-run prints the plan only\n"
         "\n"
         "scan options:\n"
         "  --patterns LIST                  patterns joined with \";\" (default: settings file)\n"
         "  --ignore-temp | --no-ignore-temp skip temporary folders (default: settings file)\n"
         "  --ignore-sys | --no-ignore-sys   skip system folders (default: settings file)\n"
         "  --settings FILE                  settings file (default: Settings.ini beside the "
         "program)\n"
         "  --help                           print this text\n"
         "\n"
         "Files kept online only (cloud placeholders on Windows) are left out, since reading\n"
         "them downloads them; --include-online reads them.\n";
}

int UsageError(const std::string& message) {
  std::cerr << "tarnwick-cli: " << message << "\n"
            << "usage: tarnwick-cli settings|scan|zip|copy|restore [ARGS]  (tarnwick-cli --help)\n";
  return kExitFailure;
}

}  // namespace tarnwick::cli

int main(int argc, char** argv) {
  using namespace tarnwick::cli;
  // UTF-8 like every path in the engine, on Windows too.
  const Args all = tarnwick::platform::CommandLineArguments(argc, argv);
  if (all.size() < 2)
    return UsageError("no command given");
  const std::string command = all[1];
  const Args args(all.begin() + 2, all.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << UsageText();
    return kExitOk;
  }
  if (command == "settings")
    return RunSettingsCommand(args);
  if (command == "scan")
    return RunScanCommand(args);
#ifdef TARNWICK_HAVE_EXPORT
  if (command == "zip")
    return RunZipCommand(args);
  if (command == "copy")
    return RunCopyCommand(args);
  if (command == "restore")
    return RunRestoreCommand(args);
#endif
  return UsageError("unknown command: " + command);
}
