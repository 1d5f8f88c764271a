#include "app/main/program_start.h"

#include "core/settings/startup.h"

namespace tarnwick::app {

bool LoadProgramState(const std::string& folder, Answerer& answers) {
  const bool ok = CheckPrerequisites(folder, [&answers](const std::string& message) {
    Question question = MakeQuestion(message, Icon::Error);
    question.foreground = true;
    answers.Ask(question);
  });
  if (ok)
    LoadSettingsState(SettingsPath(folder));
  return ok;
}

}  // namespace tarnwick::app
