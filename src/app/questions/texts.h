// Every text the product shows the user, spelled once. Front ends take their captions, titles and
// messages from here; the app layer builds its questions from them.
#pragma once

#include <string_view>

namespace tarnwick::app::texts {

// The product's name: caption of every message box and of the scan window.
inline constexpr std::string_view kAppTitle = "Tarnwick";

// Main window.
inline constexpr std::string_view kExitQuestion = "Are you sure you want to exit?";
inline constexpr std::string_view kBrowseTitle = "Select a folder to scan";

// Pattern dialog.
inline constexpr std::string_view kPatternDialogTitle = "File Extension";
inline constexpr std::string_view kInvalidPattern = "Please enter a valid file extension";
// Followed by the pattern in lower case and kDuplicatePatternAfter.
inline constexpr std::string_view kDuplicatePatternBefore = "The file extension '";
inline constexpr std::string_view kDuplicatePatternAfter = "' is already in the list.";

// Scan window.
inline constexpr std::string_view kCancelCaption = "Cancel";
inline constexpr std::string_view kExportCaption = "Save to zip file";
inline constexpr std::string_view kColumnFilename = "Filename";
inline constexpr std::string_view kColumnPath = "Path";
inline constexpr std::string_view kColumnSize = "Size";
inline constexpr std::string_view kCancelScanQuestion =
    "Are you sure you want to cancel the scanning process?";
inline constexpr std::string_view kScanComplete = "Scanning is complete.";
inline constexpr std::string_view kUnsavedQuestion =
    "Files have not been saved, are you sure you want to exit?";
// The summary line: N + kSummaryMatches + M + kSummaryScanned + size.
inline constexpr std::string_view kSummaryMatches = " matches from a total of ";
inline constexpr std::string_view kSummaryScanned = " scanned files - ";

// Export.
inline constexpr std::string_view kSaveTitle = "Archive scanned files";
inline constexpr std::string_view kSaveFilter = "Zip File (*.zip)";
inline constexpr std::string_view kSaveFilterPattern = "*.zip";
inline constexpr std::string_view kSaveExtension = "zip";
inline constexpr std::string_view kAddingFiles = "Adding files to zip";
inline constexpr std::string_view kCreatingZip = "Creating zip file";
inline constexpr std::string_view kDone = "Done";
inline constexpr std::string_view kArchivingFiles = "Archiving files";
inline constexpr std::string_view kVerifying = "Verifying";
inline constexpr std::string_view kDetailsButton = "Details...";
// The Details window: its title, its buttons, and the save dialog for its text file.
inline constexpr std::string_view kDetailsTitle = "Details";
inline constexpr std::string_view kDetailsCopy = "Copy";
inline constexpr std::string_view kDetailsSave = "Save...";
inline constexpr std::string_view kDetailsClose = "Close";
inline constexpr std::string_view kDetailsSaveTitle = "Save the list";
inline constexpr std::string_view kDetailsSaveFilter = "Text File (*.txt)";
inline constexpr std::string_view kDetailsSaveFilterPattern = "*.txt";
inline constexpr std::string_view kDetailsSaveExtension = "txt";
inline constexpr std::string_view kDetailsSaveName = "tarnwick-details.txt";
inline constexpr std::string_view kDetailsSaveFailed = "The list could not be saved: ";
// The offer under an outcome that left files online only.
inline constexpr std::string_view kDownloadOnlineCheckBox =
    "Download the files stored online only and save again";
inline constexpr std::string_view kCopyingFiles = "Copying files";
inline constexpr std::string_view kFailedToZip = "Failed to zip files: ";
inline constexpr std::string_view kUnknownError = "unknown error";
inline constexpr std::string_view kZipFailedQuestion =
    "Failed to zip files, do you want to copy the files instead?";
// The overwrite question: kOverwriteBefore + destination + kOverwriteAfter.
inline constexpr std::string_view kOverwriteBefore =
    "The migration folder already holds this file:\n";
inline constexpr std::string_view kOverwriteAfter = "\n\nDo you want to replace it?";

}  // namespace tarnwick::app::texts
