// Paths of the old computer and of this one, taken apart and put together under each system's
// rules, and the checks that keep a restored file inside the folder it is planned for.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/restore/manifest.h"

namespace tarnwick::restore {

// A path taken apart: its root and the names below it.
struct PathParts {
  // "C:" (upper case), "\\server\share", "/" or "" for a relative path.
  std::string root;
  std::vector<std::string> names;  // empty names dropped; "." and ".." kept for the checks
};

// `path` under the rules of `system`: "\" and "/" separate on Windows, "/" elsewhere.
PathParts SplitPath(std::string_view path, PathSystem system);

// When `path` lies in `folder` (both under the rules of `system`: letter case ignored on Windows,
// for ASCII letters and by exact bytes otherwise), the names below it.
std::optional<std::vector<std::string>> NamesBelow(const PathParts& path, const PathParts& folder,
                                                   PathSystem system);

// Why the names below a target folder would lead out of it or make something other than an
// ordinary file on `target`: ".." ("the path leaves its folder"), a zero byte, a Windows device
// name (CON, NUL, COM1 ...). Nothing when they are safe. "." names are removed.
std::optional<std::string> CheckNames(std::vector<std::string>& names, PathSystem target);

// Why an entry name of an archive must not be extracted: an absolute path, a drive letter, ".."
// (with "\" taken as a separator too, as Windows takes it). Nothing when it is safe; `names` then
// holds its parts.
std::optional<std::string> CheckEntryName(std::string_view entryName, PathSystem target,
                                          std::vector<std::string>& names);

// `name` as a file name on `target`: unchanged on POSIX; on Windows bytes that do not form a
// Windows name (not UTF-8 or an unpaired surrogate, control characters, < > : " / \ | ? *, a
// trailing dot or space) are written in the escaped form ("%3F").
std::string NameOnSystem(std::string_view name, PathSystem target);

// `folder` and `names` joined with the separator of `target`.
std::string JoinPath(std::string_view folder, const std::vector<std::string>& names,
                     PathSystem target);

// The folder part of a path of `target` (everything before its last separator).
std::string ParentFolder(std::string_view path, PathSystem target);

// "report (from OLDPC).doc" for "report.doc"; with `number` > 1, "report (from OLDPC 2).doc". The
// extension is the part from the last dot of the name, unless the name begins with that dot.
std::string KeepBothName(std::string_view name, std::string_view oldComputer, int number);

// The path system of this computer.
PathSystem HereSystem();

}  // namespace tarnwick::restore
