// The desktop program's start-up: the settings file beside the program, then its settings.
#pragma once

#include <string>

#include "app/questions/question.h"

namespace tarnwick::app {

// Makes sure the settings file exists in `folder` (writing the default when it is missing) and
// loads its settings into the process-wide state. When the file cannot be written, says so in an
// error box brought to the front and returns false: the program then ends without a window.
bool LoadProgramState(const std::string& folder, Answerer& answers);

}  // namespace tarnwick::app
