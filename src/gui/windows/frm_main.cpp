#include "gui/windows/frm_main.h"

#include "gui/common/app_title.h"

namespace tarnwick::gui {

frmMain::frmMain(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(AppTitle());
  resize(389, 279);
}

}  // namespace tarnwick::gui
