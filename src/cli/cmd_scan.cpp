#include <iostream>

#include "cli/commands.h"

namespace tarnwick::cli {

int RunScanCommand(const Args&) {
  std::cerr << "tarnwick-cli: scan is not built yet\n";
  return kExitFailure;
}

}  // namespace tarnwick::cli
