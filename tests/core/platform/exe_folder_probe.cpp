// Writes the folder it runs from, as the engine finds it, into "probe.out" in that folder.
#include <string>

#include "core/platform/file_io.h"
#include "core/platform/system.h"

int main() {
  using namespace tarnwick::platform;
  const std::string folder = ExecutableFolder();
  return WriteNewFile(folder + kPathSeparator + "probe.out", folder) ? 0 : 1;
}
