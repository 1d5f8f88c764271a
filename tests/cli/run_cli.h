// Runs the built tarnwick-cli (its path comes from the test's TARNWICK_CLI_PATH definition) with
// `args` and collects exit code, stdout and stderr.
#pragma once

#include <string>
#include <vector>

#include "support/run_process.h"

namespace tarnwick::test {

inline ProcessResult RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), TARNWICK_CLI_PATH);
  return RunProcess(args);
}

}  // namespace tarnwick::test
