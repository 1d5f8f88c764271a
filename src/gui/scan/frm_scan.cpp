#include "gui/scan/frm_scan.h"

#include "gui/common/app_title.h"

namespace tarnwick::gui {

frmScan::frmScan(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmScan"));
  setWindowTitle(AppTitle());
}

}  // namespace tarnwick::gui
