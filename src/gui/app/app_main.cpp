#include "gui/app/app_main.h"

#include <QApplication>

#include "core/settings/startup.h"
#include "gui/common/app_title.h"
#include "gui/common/prompts.h"
#include "gui/windows/frm_main.h"

namespace tarnwick::gui {

int Main(QApplication& app, const QString& folder) {
  const std::string dir = folder.toStdString();
  const bool ok = CheckPrerequisites(dir, [](const std::string& message) {
    CurrentPrompts().Message(nullptr, MessageRequest{QString::fromStdString(message), AppTitle(),
                                                     PromptIcon::Error, PromptButtons::Ok, true});
  });
  if (!ok)
    return 1;
  LoadSettingsState(SettingsPath(dir));

  frmMain mainWindow;
  mainWindow.show();
  return app.exec();
}

}  // namespace tarnwick::gui
