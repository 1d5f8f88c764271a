#include "app/export/outcome_texts.h"

#include <algorithm>

#include "core/common/escaped_name.h"
#include "core/export/target_check.h"

namespace tarnwick {
namespace {

using platform::FileError;

std::string lowerExtension(std::string_view path) {
  const auto slash = path.find_last_of("/\\");
  if (slash != std::string_view::npos)
    path.remove_prefix(slash + 1);
  const auto dot = path.find_last_of('.');
  if (dot == std::string_view::npos)
    return {};
  std::string ext(path.substr(dot + 1));
  std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return ext;
}

std::string listLine(const std::string& path, const std::string& reason) {
  return path + " (" + reason + ")\n";
}

std::string moreLine(std::size_t more) {
  return "... and " + std::to_string(more) + " more\n";
}

// A path as a line of the Details list shows it: plain text as it is, anything else escaped.
std::string detailPath(const std::string& path) {
  return IsPlainName(path) ? path : EscapeName(path);
}

std::string detailLine(const std::string& path, const std::string& reason) {
  return detailPath(path) + "\t" + reason + "\n";
}

std::string folderReason(const ManifestNote& folder) {
  return "folder not read: " + folder.reason;
}

// "These folders could not be read ..." with at most `maxListed` of them; empty without any.
std::string unreadableFoldersText(const std::vector<ManifestNote>& folders, std::size_t maxListed) {
  if (folders.empty())
    return {};
  std::string text = "\n\nThese folders could not be read, so files in them may be missing:\n";
  std::size_t shown = 0;
  for (const auto& f : folders) {
    if (shown++ == maxListed) {
      text += moreLine(folders.size() - maxListed);
      break;
    }
    text += listLine(f.path, f.reason);
  }
  return text;
}

// Appends the folders' part to a message, with one blank line between the two.
std::string withFolders(std::string text, const std::vector<ManifestNote>& folders,
                        std::size_t maxListed) {
  if (folders.empty())
    return text;
  while (!text.empty() && text.back() == '\n')
    text.pop_back();
  return text + unreadableFoldersText(folders, maxListed);
}

std::string copyReason(const NotCopied& n) {
  switch (n.failure) {
    case CopyFailure::Declined:
      return "a file of that name is there already and was not replaced";
    case CopyFailure::Cancelled:
      return "the copy was cancelled";
    case CopyFailure::DestinationFailed: {
      std::string text = std::string("could not be written to ") + n.item.destination + ": ";
      if (n.reason == FileError::Other && !n.detail.empty())
        return text + n.detail;
      text += platform::Describe(n.reason);
      if (!n.detail.empty())
        text += " (" + n.detail + ")";
      return text;
    }
    case CopyFailure::SourceUnreadable:
      break;
  }
  return SkipReasonText(n.item.source, n.reason, n.detail);
}

}  // namespace

bool IsMailStore(std::string_view path) {
  const std::string ext = lowerExtension(path);
  return ext == "pst" || ext == "ost" || ext == "pab" || ext == "wab" || ext == "dbx" ||
         ext == "mbx" || ext == "nsf";
}

std::string SkipReasonText(const std::string& path, FileError reason, const std::string& detail) {
  if (IsMailStore(path) && (reason == FileError::InUse || reason == FileError::Changed ||
                            reason == FileError::AccessDenied)) {
    return "the mail program is using it; close the mail program and export again";
  }
  std::string text = reason == FileError::Other && !detail.empty()
                         ? detail
                         : std::string(platform::Describe(reason));
  if (reason == FileError::InUse)
    text += "; close the program that uses it and export again";
  return text;
}

std::string ArchiveDetails(const ZipReport& report,
                           const std::vector<ManifestNote>& unreadableFolders) {
  std::string text;
  for (const auto& s : report.skipped)
    text += detailLine(s.path, SkipReasonText(s.path, s.reason, s.detail));
  for (const auto& d : report.damaged)
    text += detailLine(d.entryName, "damaged in the archive: " + d.problem);
  for (const auto& a : report.archived) {
    if (a.escapedName)
      text += detailLine(a.path, "the name is not text; stored as " + a.entryName);
  }
  for (const auto& f : unreadableFolders)
    text += detailLine(f.path, folderReason(f));
  return text;
}

std::string CopyDetails(const CopyReport& report,
                        const std::vector<ManifestNote>& unreadableFolders) {
  std::string text;
  for (const auto& n : report.notCopied)
    text += detailLine(n.item.source, copyReason(n));
  for (const auto& f : unreadableFolders)
    text += detailLine(f.path, folderReason(f));
  return text;
}

std::vector<std::string> OnlineOnlyFiles(const ZipReport& report) {
  std::vector<std::string> files;
  for (const auto& s : report.skipped) {
    if (s.reason == FileError::OnlineOnly)
      files.push_back(s.path);
  }
  return files;
}

std::vector<std::string> OnlineOnlyFiles(const CopyReport& report) {
  std::vector<std::string> files;
  for (const auto& n : report.notCopied) {
    if (n.failure == CopyFailure::SourceUnreadable && n.reason == FileError::OnlineOnly)
      files.push_back(n.item.source);
  }
  return files;
}

bool ArchivedAll(const ZipReport& report, std::size_t listed) {
  return report.archiveWritten && report.skipped.empty() && report.archived.size() >= listed;
}

std::string TooLargeForTargetText(const ZipTooLargeFile& file, std::uint64_t limit,
                                  const std::string& fileSystem) {
  return file.path + " (" + AboutSize(file.size, true) +
         ") cannot be saved on this drive: its file system (" + fileSystem + ") holds at most " +
         AboutSize(limit, false) + " in one file.";
}

std::string ArchiveOutcomeMessage(const std::string& archivePath, std::size_t listed,
                                  const ZipReport& report, std::size_t maxListed,
                                  const std::vector<ManifestNote>& unreadableFolders) {
  if (!report.archiveWritten)
    return {};
  const bool inParts = report.parts.size() > 1;
  std::string where = archivePath;
  if (inParts) {
    where = std::to_string(report.parts.size()) + " archives";
    if (report.fileSizeLimit) {
      where += " (the drive's file system, " + report.fileSystem + ", holds at most " +
               AboutSize(*report.fileSizeLimit, false) + " in one file)";
    }
    where += ":";
    for (const auto& part : report.parts)
      where += "\n" + part;
  }
  if (ArchivedAll(report, listed))
    return withFolders(std::string(kArchivedAllText) + where, unreadableFolders, maxListed);
  std::string text = "Archived " + std::to_string(report.archived.size()) + " of " +
                     std::to_string(listed) + " files into " + where +
                     (inParts ? "\n\n" : ".\n\n") +
                     (inParts ? "These files are not in the archives:\n"
                              : "These files are not in the archive:\n");
  std::size_t shown = 0;
  for (const auto& s : report.skipped) {
    if (shown++ == maxListed) {
      text += moreLine(report.skipped.size() - maxListed);
      break;
    }
    text += listLine(s.path, SkipReasonText(s.path, s.reason, s.detail));
  }
  return withFolders(std::move(text), unreadableFolders, maxListed);
}

std::string CopyOutcomeMessage(const std::string& migrationFolder, const CopyReport& report,
                               std::size_t maxListed,
                               const std::vector<ManifestNote>& unreadableFolders) {
  if (report.AllCopied())
    return withFolders(std::string(kCopiedAllText), unreadableFolders, maxListed);
  if (!report.failure.empty())
    return "Nothing was copied to the migration folder " + migrationFolder + ". " + report.failure;
  // One cause for every file (the drive is read-only or full): said once.
  const auto sameCause = [&report](const NotCopied& n) {
    const NotCopied& first = report.notCopied.front();
    return n.failure == CopyFailure::DestinationFailed && n.failure == first.failure &&
           n.reason == first.reason && n.reason != FileError::Other;
  };
  if (report.copied.empty() && report.notCopied.size() > 1 &&
      std::all_of(report.notCopied.begin(), report.notCopied.end(), sameCause)) {
    return "Nothing was copied to the migration folder " + migrationFolder + ": " +
           platform::Describe(report.notCopied.front().reason) + ".";
  }
  const std::size_t total = report.copied.size() + report.notCopied.size();
  std::string text = "Copied " + std::to_string(report.copied.size()) + " of " +
                     std::to_string(total) + " files to the migration folder " + migrationFolder +
                     ".\n\nThese files were not copied:\n";
  std::size_t shown = 0;
  for (const auto& n : report.notCopied) {
    if (shown++ == maxListed) {
      text += moreLine(report.notCopied.size() - maxListed);
      break;
    }
    text += listLine(n.item.source, copyReason(n));
  }
  return withFolders(std::move(text), unreadableFolders, maxListed);
}

}  // namespace tarnwick
