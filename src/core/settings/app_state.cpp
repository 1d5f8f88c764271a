#include "core/settings/app_state.h"

namespace tarnwick {

std::string gExtensions;
std::vector<std::string> gExtList;
bool gbIgnoreTemp = false;
bool gbIgnoreSys = false;
std::array<std::string, 3> gTempFolders;
std::array<std::string, 7> gSysFolders;

std::vector<std::string> SplitPatterns(std::string_view text) {
  std::vector<std::string> entries;
  if (text.empty())
    return entries;
  for (;;) {
    const auto semi = text.find(';');
    entries.emplace_back(text.substr(0, semi));
    if (semi == std::string_view::npos)
      break;
    text.remove_prefix(semi + 1);
  }
  return entries;
}

std::string JoinPatterns(const std::vector<std::string>& entries) {
  std::string joined;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0)
      joined += ';';
    joined += entries[i];
  }
  return joined;
}

void FillFolderLists() {
  gTempFolders = {"temp", "temporary internet files", "cookies"};
  gSysFolders = {"winnt",      "windows",  "program files", "system volume information",
                 "config.msi", "recycler", "cmdcons"};
}

void ResetSettingsState() {
  gExtensions.clear();
  gExtList.clear();
  gbIgnoreTemp = false;
  gbIgnoreSys = false;
  gTempFolders = {};
  gSysFolders = {};
}

}  // namespace tarnwick
