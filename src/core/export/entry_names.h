// Names of archive entries and where the files named in a list are read from.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// True when a root directory means the root of the file system: empty, or nothing but separators
// ("\" by default; "/" means the same on every platform).
bool IsFileSystemRoot(std::string_view rootDirectory);

// True for an absolute path: one that starts with a separator, or on Windows with a drive letter
// and colon.
bool IsAbsolutePath(std::string_view path);

// Where a name from the list is read: an absolute path as it is; a relative one below the root
// directory.
std::string ResolveListedName(std::string_view name, std::string_view rootDirectory);

// The entry name of a file: the path below `rootDirectory` when it lies there (compared by the
// platform's rule), otherwise the full path with its root (drive, leading separators) removed.
// "/" separators; "." and ".." parts are dropped, so no entry can point outside the folder it is
// extracted into. With `junkFolders` only the file's own name is kept. Empty when nothing is left.
std::string EntryName(std::string_view path, std::string_view rootDirectory, bool junkFolders);

// The archive's own manifest entry. Reserved: a gathered file that would get this name (letter case
// ignored) is given another, so the manifest can never hide a file or be mistaken for one.
inline constexpr std::string_view kManifestEntryName = "tarnwick-manifest.txt";
bool IsReservedEntryName(std::string_view entryName);

// A path made relative and safe: its root removed, "." and ".." parts dropped, separators
// normalised to "/". The common part of entry names and of the copy's destinations.
std::string RelativeParts(std::string_view path);

}  // namespace tarnwick
