#pragma once

#include <QString>
#include <string_view>

#include "app/questions/texts.h"

namespace tarnwick::gui {

// The product's name: caption of every message box and of the scan window.
inline QString AppTitle() {
  return QString::fromUtf8(app::texts::kAppTitle.data(),
                           static_cast<qsizetype>(app::texts::kAppTitle.size()));
}

// A product text from the app layer as a QString.
inline QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tarnwick::gui
