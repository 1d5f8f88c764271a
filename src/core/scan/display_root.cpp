#include "core/platform/system.h"
#include "core/scan/search.h"
#include "core/scan/text_case.h"

namespace tarnwick {

std::string DisplayRoot(const std::string& root) {
  // Upper-casing is harmless only where the file system ignores case; elsewhere the path would
  // name another folder, or none.
  if constexpr (platform::kFileSystemIgnoresCase)
    return UpperCase(root);
  return root;
}

}  // namespace tarnwick
