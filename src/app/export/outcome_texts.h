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

std::string ArchiveOutcomeMessage(const std::string& archivePath, std::size_t listed,
                                  const ZipReport& report, std::size_t maxListed = 20);

// The message after the copy into the migration folder: "Successfully copied all files to the
// migration folder" when every file was copied; otherwise how many of how many, and the files
// that were not copied with their reasons.
std::string CopyOutcomeMessage(const std::string& migrationFolder, const CopyReport& report,
                               std::size_t maxListed = 20);

inline constexpr std::string_view kArchivedAllText = "Successfully archived all files into ";
inline constexpr std::string_view kCopiedAllText =
    "Successfully copied all files to the migration folder";

}  // namespace tarnwick
