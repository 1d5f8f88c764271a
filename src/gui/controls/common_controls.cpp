#include "gui/controls/common_controls.h"

#include <QApplication>

namespace tarnwick::gui {

bool InitComCtl(std::uint32_t /*classes*/) {
  return qobject_cast<QApplication*>(qApp) != nullptr;
}

}  // namespace tarnwick::gui
