#include "core/settings/app_state.h"

namespace tarnwick {

std::string gExtensions;
std::vector<std::string> gExtList;
bool gbIgnoreTemp = false;
bool gbIgnoreSys = false;

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

void ResetSettingsState() {
  gExtensions.clear();
  gExtList.clear();
  gbIgnoreTemp = false;
  gbIgnoreSys = false;
}

}  // namespace tarnwick
