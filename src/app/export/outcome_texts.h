// The texts the export shows the user when it is done: all files in the archive (or copied), or
// how many of how many, with each missing file and the reason in words. Shared by every front
// end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/export/file_copy.h"
#include "core/export/zip_engine.h"

namespace tarnwick {

// True for a mail program's store (pst, ost, pab, wab, dbx, mbx, nsf): such a file is usually
// unreadable only because the mail program has it open.
bool IsMailStore(std::string_view path);

// Why a file is missing, in words for the user. For a mail store held by another program the
// advice to close the mail program and export again.
std::string SkipReasonText(const std::string& path, platform::FileError reason,
                           const std::string& detail);

// The message after an archive run. When the archive holds every one of the `listed` files:
// "Successfully archived all files into " + archive path. Otherwise: "Archived N of M files into
// PATH." followed by the files that are not in it, one a line with its reason (at most
// `maxListed`, then "... and K more"). Empty when no archive was written (the caller then offers
// the copy).
// True when the archive holds every one of the `listed` files.
bool ArchivedAll(const ZipReport& report, std::size_t listed);

// A run written in several parts (a drive whose file system limits file size) names them all
// instead of the one path: "into 3 archives (the drive's file system, FAT32, holds at most
// 3.9 GB in one file):" and one part a line.
std::string ArchiveOutcomeMessage(const std::string& archivePath, std::size_t listed,
                                  const ZipReport& report, std::size_t maxListed = 20);

// Why nothing was written when a file is too large for the target in any archive, in one line:
// "PATH (4.5 GB) cannot be saved on this drive: its file system (FAT32) holds at most 3.9 GB in
// one file."
std::string TooLargeForTargetText(const ZipTooLargeFile& file, std::uint64_t limit,
                                  const std::string& fileSystem);

// The message after the copy into the migration folder: "Successfully copied all files to the
// migration folder" when every file was copied; otherwise how many of how many, and the files
// that were not copied with their reasons.
// The whole lists behind the outcome messages, one "path<TAB>reason" a line, for the Details
// window: the files not in the archive, the entries the check found damaged, the names stored in
// escaped form, and the folders the scan could not read.
std::string ArchiveDetails(const ZipReport& report,
                           const std::vector<ManifestNote>& unreadableFolders);
std::string CopyDetails(const CopyReport& report);

std::string CopyOutcomeMessage(const std::string& migrationFolder, const CopyReport& report,
                               std::size_t maxListed = 20);

inline constexpr std::string_view kArchivedAllText = "Successfully archived all files into ";
inline constexpr std::string_view kCopiedAllText =
    "Successfully copied all files to the migration folder";

}  // namespace tarnwick
