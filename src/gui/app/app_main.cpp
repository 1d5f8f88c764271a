#include "gui/app/app_main.h"

#include <QApplication>

#include "app/main/program_start.h"
#include "core/settings/startup.h"
#include "gui/app/resources.h"
#include "gui/common/prompts.h"
#include "gui/export/export_command.h"
#ifdef TARNWICK_HAVE_EXPORT
#include "gui/restore/restore_command.h"
#endif
#include "gui/windows/frm_main.h"

namespace tarnwick::gui {

bool LoadProgramState(const QString& folder) {
  PromptAnswerer answers(nullptr);
  return app::LoadProgramState(folder.toStdString(), answers);
}

int Main(QApplication& app, const QString& folder) {
  if (!LoadProgramState(folder))
    return 1;
  QApplication::setWindowIcon(ProgramIcon());
  // "Save to zip file" in every scan window, and event pumping while the engine works.
  InstallExportCommand();

  // The program ends when the main window has unloaded, not when its last window closes: the
  // main window is hidden before the splash shows, and the pattern dialog may linger hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  frmMain mainWindow(SettingsPath(folder.toStdString()));
#ifdef TARNWICK_HAVE_EXPORT
  mainWindow.SetRestoreCommand(cmdRestore_Click);
#endif
  QObject::connect(&mainWindow, &frmMain::Unloaded, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  mainWindow.show();
  return app.exec();
}

}  // namespace tarnwick::gui
