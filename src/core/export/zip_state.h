// Process-wide state of the archive engine.
#pragma once

#include <string>

namespace tarnwick {

// Everything the engine printed during the most recent archive run, lines without their leading
// spaces, joined with no separator. Emptied at the start of every run.
extern std::string LastZipMessage;

void ResetZipState();

}  // namespace tarnwick
