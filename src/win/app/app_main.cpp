#include "win/app/app_main.h"

#include <windows.h>

#include "app/questions/texts.h"
#include "core/settings/startup.h"
#include "win/common/handles.h"
#include "win/common/message_loop.h"
#include "win/common/prompts.h"
#include "win/controls/status_bar.h"
#include "win/export/export_command.h"
#include "win/restore/restore_command.h"
#include "win/windows/frm_main.h"

namespace tarnwick::win {

bool LoadProgramState(const std::string& folder) {
  const bool ok = CheckPrerequisites(folder, [](const std::string& message) {
    app::Question question = app::MakeQuestion(message, app::Icon::Error);
    question.foreground = true;
    PromptAnswerer(nullptr).Ask(question);
  });
  if (ok)
    LoadSettingsState(SettingsPath(folder));
  return ok;
}

int Main(const std::string& folder) {
  const ComApartment com;
  InitComCtl(ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS);
  if (!LoadProgramState(folder))
    return 1;
  // "Save to zip file" in every scan window, and message pumping while the engine works.
  InstallExportCommand();

  // The program ends when the main window has unloaded; the pattern dialog may linger hidden.
  frmMain mainWindow(SettingsPath(folder));
  if (mainWindow.hWnd() == nullptr)
    return 1;
  bool unloaded = false;
  mainWindow.SetOnUnloaded([&unloaded] { unloaded = true; });
  mainWindow.SetRestoreCommand(cmdRestore_Click);
  mainWindow.Show();
  RunModalLoop(nullptr, [&unloaded] { return unloaded; });
  return 0;
}

}  // namespace tarnwick::win
