// The texts the export shows the user when it is done: all files in the archive (or copied), or
// how many of how many, with each missing file and the reason in words. Shared by every front
// end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/file_copy.h"
#include "core/export/manifest.h"
#include "core/export/zip_engine.h"

namespace tarnwick {

// True for a mail program's store (pst, ost, pab, wab, dbx, mbx, nsf): such a file is usually
// unreadable only because the mail program has it open.
bool IsMailStore(std::string_view path);

// Why a file is missing, in words for the user. For a mail store held by another program the
// advice to close the mail program and export again.
std::string SkipReasonText(const std::string& path, platform::FileError reason,
                           const std::string& detail);

// True when the archive holds every one of the `listed` files.
bool ArchivedAll(const ZipReport& report, std::size_t listed);

// How many lines of each list a message box shows; the Details window has them all.
inline constexpr std::size_t kOutcomeLinesShown = 20;

// The message after an archive run. When the archive holds every one of the `listed` files:
// "Successfully archived all files into " + archive path. Otherwise: "Archived N of M files into
// PATH." followed by the files that are not in it, one a line with its reason. Then the folders
// the scan could not read, when there were any, since files in them may be missing too. Each list
// shows at most `maxListed` lines, then "... and K more". Empty when no archive was written (the
// caller then offers the copy).
// A run written in several parts (a drive whose file system limits file size) names them all
// instead of the one path: "into 3 archives (the drive's file system, FAT32, holds at most
// 3.9 GB in one file):" and one part a line.
std::string ArchiveOutcomeMessage(const std::string& archivePath, std::size_t listed,
                                  const ZipReport& report,
                                  std::size_t maxListed = kOutcomeLinesShown,
                                  const std::vector<ManifestNote>& unreadableFolders = {});

// Why nothing was written when a file is too large for the target in any archive, in one line:
// "PATH (4.5 GB) cannot be saved on this drive: its file system (FAT32) holds at most 3.9 GB in
// one file."
std::string TooLargeForTargetText(const ZipTooLargeFile& file, std::uint64_t limit,
                                  const std::string& fileSystem);

// The message after the copy into the migration folder: "Successfully copied all files to the
// migration folder" when every file was copied; otherwise how many of how many, and the files
// that were not copied with their reasons. Then the folders the scan could not read, as above.
std::string CopyOutcomeMessage(const std::string& migrationFolder, const CopyReport& report,
                               std::size_t maxListed = kOutcomeLinesShown,
                               const std::vector<ManifestNote>& unreadableFolders = {});

// The whole lists behind the outcome messages, one "path<TAB>reason" a line, for the Details
// window: the files not in the archive (or not copied), the entries the check found damaged, the
// names stored in escaped form, and the folders the scan could not read. A path that is not plain
// text (bytes that are not UTF-8, a tab or another control character) is given in its escaped
// form, so that the list is always text and one line stays one entry.
std::string ArchiveDetails(const ZipReport& report,
                           const std::vector<ManifestNote>& unreadableFolders);
std::string CopyDetails(const CopyReport& report,
                        const std::vector<ManifestNote>& unreadableFolders);

// The files left out because they are kept online only (reading them would download them).
std::vector<std::string> OnlineOnlyFiles(const ZipReport& report);
std::vector<std::string> OnlineOnlyFiles(const CopyReport& report);

inline constexpr std::string_view kArchivedAllText = "Successfully archived all files into ";
inline constexpr std::string_view kCopiedAllText =
    "Successfully copied all files to the migration folder";

}  // namespace tarnwick
