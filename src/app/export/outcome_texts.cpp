#include "app/export/outcome_texts.h"

#include <algorithm>

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

std::string copyReason(const NotCopied& n) {
  switch (n.failure) {
    case CopyFailure::Declined:
      return "a file of that name is there already and was not replaced";
    case CopyFailure::Cancelled:
      return "the copy was cancelled";
    case CopyFailure::DestinationFailed: {
      std::string text = std::string("could not be written to ") + n.item.destination + ": " +
                         platform::Describe(n.reason);
      if (!n.detail.empty())
        text += " - " + n.detail;
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

bool ArchivedAll(const ZipReport& report, std::size_t listed) {
  return report.archiveWritten && report.skipped.empty() && report.archived.size() >= listed;
}

std::string ArchiveOutcomeMessage(const std::string& archivePath, std::size_t listed,
                                  const ZipReport& report, std::size_t maxListed) {
  if (!report.archiveWritten)
    return {};
  if (ArchivedAll(report, listed))
    return std::string(kArchivedAllText) + archivePath;
  std::string text = "Archived " + std::to_string(report.archived.size()) + " of " +
                     std::to_string(listed) + " files into " + archivePath + ".\n\n" +
                     "These files are not in the archive:\n";
  std::size_t shown = 0;
  for (const auto& s : report.skipped) {
    if (shown++ == maxListed) {
      text += moreLine(report.skipped.size() - maxListed);
      break;
    }
    text += listLine(s.path, SkipReasonText(s.path, s.reason, s.detail));
  }
  return text;
}

std::string CopyOutcomeMessage(const std::string& migrationFolder, const CopyReport& report,
                               std::size_t maxListed) {
  if (report.AllCopied())
    return std::string(kCopiedAllText);
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
  return text;
}

}  // namespace tarnwick
