// Whole-file operations the settings file and the start-up check need. Paths are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::platform {

// True when `path` names an ordinary file (not a folder, device or other special entry). On
// Windows a file marked hidden or system does not count.
bool IsOrdinaryFile(const std::string& path);

// Reads the whole file into `out`. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// Creates `path` with exactly `bytes`. False on any error; a partly written file may remain.
bool WriteNewFile(const std::string& path, std::string_view bytes);

// Replaces the content of `path` with `bytes` so that a crash leaves either the old or the new
// content: writes a temporary file in the same folder, then renames it over the old one. A file
// that is read-only (or whose folder cannot be written) is left unchanged and the result is false.
// A link is followed: its target gets the new content. The file keeps its permissions.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tarnwick::platform
