// The scan options shared by the commands that scan (scan, zip, copy): FOLDER and the pattern
// list and exclusion switches, which default to the settings file like the main window's.
#pragma once

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

#include "cli/commands.h"

namespace tarnwick::cli {

struct ScanOptions {
  std::string folder;    // the folder to scan, ending in the path separator (gRootFolder)
  std::string patterns;  // the pattern list joined with ";"
  bool ignoreTemp = false;
  bool ignoreSys = false;
};

struct ScanCommandLine {
  std::vector<std::string> leading;  // the command's own arguments before FOLDER (zip: ARCHIVE)
  ScanOptions options;
};

// Parses the arguments of a command that takes `leadingCount` positional arguments of its own,
// then an optional FOLDER, with the scan options anywhere among them ("--" ends the options).
// Options not given are read from the settings file (--settings FILE, or Settings.ini beside the
// program); FOLDER defaults to DefaultScanFolder(). On --help prints the usage text and gives
// kExitOk; on a usage error prints it and gives kExitFailure.
std::variant<ScanCommandLine, int> ParseScanCommandLine(const Args& args, std::size_t leadingCount);

// The folder scanned when none is given: on Windows the root of the drive that holds Windows
// (WINDIR up to its first "\"), elsewhere the user's home folder. Empty when unknown.
std::string DefaultScanFolder();

// `folder` with the path separator appended unless it already ends in one.
std::string RootFolderOf(std::string folder);

}  // namespace tarnwick::cli
