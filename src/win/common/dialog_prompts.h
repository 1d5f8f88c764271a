// The prompts as the system's own dialogs: MessageBoxW (task dialogs for the four-button
// overwrite question and the restore's conflict question; the program's own box for a message
// with details or a check box), the shell's item dialogs for opening, saving and picking a
// folder, with the older common dialogs where those cannot be made.
#pragma once

#include "win/common/prompts.h"

namespace tarnwick::win {

class DialogPrompts final : public Prompts {
 public:
  app::Answer Message(HWND owner, const app::Question& question) override;
  app::Reply MessageWithCheckBox(HWND owner, const app::Question& question) override;
  std::optional<std::string> SaveFile(HWND owner, const app::SaveFileQuestion& question) override;
  std::optional<std::string> BrowseFolder(HWND owner, const app::FolderQuestion& question) override;
  std::vector<std::string> OpenFiles(HWND owner, const OpenFilesRequest& request) override;
  app::ConflictAnswer AskConflict(HWND owner, const app::ConflictQuestion& question) override;
  void MessageWithDetails(HWND owner, const app::Question& question,
                          const std::string& details) override;
};

// The message box style for an icon and a button set (MB_ICONINFORMATION | MB_OK = 0x40,
// MB_ICONQUESTION | MB_YESNO = 0x24, MB_ICONEXCLAMATION | MB_OK = 0x30, MB_ICONERROR with
// MB_SETFOREGROUND = 0x10010).
UINT MessageBoxStyle(app::Icon icon, app::Buttons buttons, bool foreground);

}  // namespace tarnwick::win
