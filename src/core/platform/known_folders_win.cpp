#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// windows.h first: the shell headers need its types.
#include <knownfolders.h>
#include <shlobj.h>

#include <memory>

#include "core/platform/known_folders.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {
namespace {

struct CoTaskMemDeleter {
  void operator()(wchar_t* p) const { CoTaskMemFree(p); }
};

std::string knownFolder(REFKNOWNFOLDERID id) {
  wchar_t* raw = nullptr;
  const HRESULT hr = SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &raw);
  // The shell allocates the text even when it fails; it is freed either way.
  const std::unique_ptr<wchar_t, CoTaskMemDeleter> path(raw);
  if (FAILED(hr) || !path)
    return {};
  std::string out = Narrow(path.get());
  while (out.size() > 3 && (out.back() == '\\' || out.back() == '/'))
    out.pop_back();
  return out;
}

}  // namespace

UserFolders CurrentUserFolders() {
  UserFolders folders;
  folders.home = knownFolder(FOLDERID_Profile);
  const struct {
    const char* name;
    const KNOWNFOLDERID& id;
  } ids[] = {
      {"Documents", FOLDERID_Documents}, {"Desktop", FOLDERID_Desktop},
      {"Pictures", FOLDERID_Pictures},   {"Downloads", FOLDERID_Downloads},
      {"Music", FOLDERID_Music},         {"Videos", FOLDERID_Videos},
      {"Favorites", FOLDERID_Favorites},
  };
  for (const auto& k : ids) {
    std::string path = knownFolder(k.id);
    if (!path.empty())
      folders.known.push_back({k.name, std::move(path)});
  }
  return folders;
}

}  // namespace tarnwick::platform
