// The product's texts as the Windows program shows them.
#pragma once

namespace tarnwick::win {

// The product's name: caption of every message box and of the scan window.
inline constexpr const char* kAppTitle = "Tarnwick";
// The web address shown in the main window, as a host name without scheme.
inline constexpr const char* kWebsiteHost = "www.example.org";
// The one-line notice in the main window's lower left corner.
inline constexpr const char* kNoticeText = "Free and open source software";
// The notice at the start of the main window's caption, followed there by the product's name.
inline constexpr const char* kCaptionNotice = "Free and open source - ";
inline constexpr const char* kBrowseTitle = "Select a folder to scan";
inline constexpr const char* kExitQuestion = "Are you sure you want to exit?";
inline constexpr const char* kInvalidExtension = "Please enter a valid file extension";
inline constexpr const char* kScanComplete = "Scanning is complete.";
inline constexpr const char* kCancelScanQuestion =
    "Are you sure you want to cancel the scanning process?";
inline constexpr const char* kUnsavedQuestion =
    "Files have not been saved, are you sure you want to exit?";

}  // namespace tarnwick::win
