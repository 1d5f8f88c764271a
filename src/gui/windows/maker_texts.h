// The texts that present the maker in the main window, as the app layer spells them.
#pragma once

#include "app/main/maker_texts.h"

namespace tarnwick::gui {

using app::texts::kCaptionNotice;
using app::texts::kNoticeText;
using app::texts::kWebsiteHost;

}  // namespace tarnwick::gui
