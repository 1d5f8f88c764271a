#include "win/restore/restore_command.h"

#include "app/restore/restore_texts.h"
#include "win/common/prompts.h"
#include "win/restore/frm_restore.h"

namespace tarnwick::win {

void cmdRestore_Click(HWND owner) {
  const std::vector<std::string> chosen = CurrentPrompts().OpenFiles(
      owner, {app::kOpenArchiveTitle, app::kArchiveFilter, app::kArchivePattern});
  if (chosen.empty())
    return;
  auto session = std::make_unique<app::RestoreSession>();
  if (!session->Open(chosen)) {
    PromptAnswerer(owner).Ask(app::MakeQuestion(session->Error(), app::Icon::Exclamation));
    return;
  }
  const std::string& first = chosen.front();
  const std::size_t slash = first.find_last_of("\\/");
  frmRestore window(owner, std::move(session),
                    slash == std::string::npos ? first : first.substr(slash + 1));
  window.ShowModal();
}

}  // namespace tarnwick::win
