#pragma once

#include <QString>

namespace tarnwick::gui {

// The product's name: caption of every message box and of the scan window.
inline QString AppTitle() {
  return QStringLiteral("Tarnwick");
}

}  // namespace tarnwick::gui
