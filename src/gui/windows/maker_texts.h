// The texts that present the maker in the main window.
#pragma once

namespace tarnwick::gui {

// The web address shown in the main window, as a host name without scheme.
inline constexpr const char* kWebsiteHost = "www.example.org";
// The one-line notice in the main window's lower left corner.
inline constexpr const char* kNoticeText = "Free and open source software";
// The notice at the start of the main window's caption, followed there by the product's name.
inline constexpr const char* kCaptionNotice = "Free and open source - ";

}  // namespace tarnwick::gui
