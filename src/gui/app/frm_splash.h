// The splash window shown while the program ends: white, without caption, centred on the screen,
// showing the product's logo.
#pragma once

#include "app/main/main_commands.h"

#include <QWidget>

namespace tarnwick::gui {

class frmSplash : public QWidget {
  Q_OBJECT
 public:
  explicit frmSplash(QWidget* parent = nullptr);
};

// Shows the splash for kSplashMilliseconds while events keep being dispatched, then closes it.
using app::kSplashMilliseconds;
void ShowSplash();

}  // namespace tarnwick::gui
