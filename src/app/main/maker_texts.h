// The texts that present the maker in the main window (web address, notice, caption notice).
#pragma once

namespace tarnwick::app::texts {

// The web address shown in the main window, as a host name without scheme.
inline constexpr const char* kWebsiteHost = "www.example.org";
// The address the web address opens: this scheme followed by the host name.
inline constexpr const char* kWebsiteScheme = "http://";
// The one-line notice in the main window's lower left corner.
inline constexpr const char* kNoticeText = "Free and open source software";
// The notice at the start of the main window's caption, followed there by the product's name.
inline constexpr const char* kCaptionNotice = "Free and open source - ";

}  // namespace tarnwick::app::texts
