#include "core/platform/known_folders.h"

namespace tarnwick::platform {

const std::vector<std::string>& KnownFolderNames() {
  static const std::vector<std::string> names = {"Documents", "Desktop", "Pictures", "Downloads",
                                                 "Music",     "Videos",  "Favorites"};
  return names;
}

std::string UserFolders::Find(std::string_view name) const {
  for (const auto& k : known) {
    if (k.name == name)
      return k.path;
  }
  return {};
}

namespace {

struct XdgKey {
  std::string_view key;
  std::string_view name;
};
constexpr XdgKey kXdgKeys[] = {
    {"XDG_DOCUMENTS_DIR", "Documents"}, {"XDG_DESKTOP_DIR", "Desktop"},
    {"XDG_PICTURES_DIR", "Pictures"},   {"XDG_DOWNLOAD_DIR", "Downloads"},
    {"XDG_MUSIC_DIR", "Music"},         {"XDG_VIDEOS_DIR", "Videos"},
};

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// The value of one line: "$HOME/Docs" or "/abs/path", in double quotes, with "\" escaping the
// next character. Empty when the value is neither form.
std::string xdgValue(std::string_view v, const std::string& home) {
  if (v.size() < 2 || v.front() != '"' || v.back() != '"')
    return {};
  v = v.substr(1, v.size() - 2);
  std::string out;
  if (v.substr(0, 5) == "$HOME") {
    out = home;
    v.remove_prefix(5);
  } else if (v.empty() || v.front() != '/') {
    return {};
  }
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\\' && i + 1 < v.size())
      ++i;
    out += v[i];
  }
  while (out.size() > 1 && out.back() == '/')
    out.pop_back();
  return out;
}

}  // namespace

UserFolders ParseXdgUserDirs(std::string_view text, const std::string& home) {
  UserFolders folders;
  folders.home = home;
  std::vector<std::string> found(std::size(kXdgKeys));
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = trim(text.substr(0, nl));
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (line.empty() || line.front() == '#')
      continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
      continue;
    const std::string_view key = trim(line.substr(0, eq));
    for (std::size_t i = 0; i < std::size(kXdgKeys); ++i) {
      if (kXdgKeys[i].key == key)
        found[i] = xdgValue(trim(line.substr(eq + 1)), home);
    }
  }
  for (const auto& name : KnownFolderNames()) {
    std::string path;
    for (std::size_t i = 0; i < std::size(kXdgKeys); ++i) {
      if (kXdgKeys[i].name == name)
        path = found[i];
    }
    if (path.empty() || path == home)
      path = home + "/" + name;
    folders.known.push_back({name, path});
  }
  return folders;
}

}  // namespace tarnwick::platform
