#include <iostream>

#include "cli/commands.h"

namespace tarnwick::cli {

int RunZipCommand(const Args&) {
  std::cerr << "tarnwick-cli: zip is not built yet\n";
  return kExitFailure;
}

int RunCopyCommand(const Args&) {
  std::cerr << "tarnwick-cli: copy is not built yet\n";
  return kExitFailure;
}

}  // namespace tarnwick::cli
