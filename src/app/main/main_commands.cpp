#include "app/main/main_commands.h"

#include "app/questions/texts.h"
#include "core/platform/system.h"
#include "core/settings/app_state.h"
#include "core/settings/settings.h"

namespace tarnwick::app {

std::string StartFolder() {
  if (const auto windir = platform::GetEnvironment("WINDIR")) {
    const auto slash = windir->find('\\');
    if (slash == std::string::npos)
      return {};
    return windir->substr(0, slash + 1);
  }
  return platform::HomeFolder();
}

void PrepareScan(const std::string& folderText, bool ignoreTemp, bool ignoreSys,
                 SearchParams& params, std::string& rootFolder) {
  params.Recurse = true;
  params.IgnoreTemp = ignoreTemp;
  params.IgnoreSys = ignoreSys;
  params.Pattern = JoinPatterns(gExtList);
  params.MatchCount = 0;
  params.ScannedCount = 0;
  params.TotalBytes = 0;

  std::string root = folderText;
  if (root.empty() || !platform::IsPathSeparator(root.back()))
    root += platform::kPathSeparator;
  rootFolder = root;
}

bool ConfirmExit(Answerer& answers) {
  return answers.Ask(MakeQuestion(std::string(texts::kExitQuestion), Icon::Question,
                                  Buttons::YesNo)) != Answer::No;
}

void RunExitSequence(const std::string& settingsFile, bool ignoreTemp, bool ignoreSys,
                     ExitView& view) {
  WriteSetting(settingsFile, kSettingsSection, "extensions", gExtensions);
  WriteSetting(settingsFile, kSettingsSection, "ignoretemp", ignoreTemp ? "1" : "0");
  WriteSetting(settingsFile, kSettingsSection, "ignoresys", ignoreSys ? "1" : "0");
  view.Hide();
  view.ShowSplash(kSplashMilliseconds);
}

}  // namespace tarnwick::app
