// Pure helpers of the export command: the archive path the user meant, the migration folder
// beside it, and where each file goes below that folder when the files are copied instead.
#pragma once

#include <string>

namespace tarnwick {

// The archive path for a path chosen in the save dialog, exactly as typed: unchanged when its
// file name ends in ".zip" (any letter case); otherwise ".zip" is appended, so "report.txt"
// becomes "report.txt.zip" and a name with no extension gets ".zip". A name ending in a full
// stop ("name.") gets "zip", not a second full stop. Empty stays empty.
std::string WithZipExtension(const std::string& chosenPath);

// The folder the files are copied into when no archive results: the archive path without its
// last 4 characters (".zip"), followed by the path separator. "C:\out\PC1.zip" gives
// "C:\out\PC1\". Empty when the path is 4 characters or shorter (it names no folder).
std::string MigrationFolder(const std::string& archivePath);

// The name of part `number` (2, 3, ...) of an archive written in several parts, whose first part
// is `firstPart`: "-" and the number before the extension, so "D:\PC1.zip" gives "D:\PC1-2.zip".
// The restore looks for further parts under these names.
std::string ArchivePartPath(const std::string& firstPart, int number);

// Where a found file is copied: `source` with its leading scan folder replaced by the migration
// folder, so the folder structure below the scan folder is kept. The scan folder is compared by
// the platform's rule: letter case ignored on Windows, exact elsewhere. (Every path the scan
// lists begins with the scan folder as it was given, so an exact comparison always finds it on
// Linux, while ignoring case there could take a different folder, "/data/A/" for "/data/a/", for
// the scan folder.) A source outside the scan folder keeps its whole path, root removed, below
// the migration folder; "." and ".." parts are dropped either way, so nothing can land outside
// the migration folder.
std::string MigrationDestination(const std::string& source, const std::string& scanFolder,
                                 const std::string& migrationFolder);

}  // namespace tarnwick
