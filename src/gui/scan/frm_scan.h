// The scan window: runs one scan with live rows and progress, then offers the export.
#pragma once

#include <QDialog>

namespace tarnwick::gui {

class frmScan : public QDialog {
  Q_OBJECT
 public:
  explicit frmScan(QWidget* parent = nullptr);
};

}  // namespace tarnwick::gui
