// The main window.
#pragma once

#include <QWidget>

namespace tarnwick::gui {

class frmMain : public QWidget {
  Q_OBJECT
 public:
  explicit frmMain(QWidget* parent = nullptr);
};

}  // namespace tarnwick::gui
