// The Details window's "Save...": the save dialog's request and the text file it writes. Front
// ends show the window; what it saves, where it proposes to and what it says when it cannot are
// decided here.
#pragma once

#include <string>
#include <string_view>

#include "app/questions/question.h"

namespace tarnwick::app {

// "Save the list", the text file filter, opening in the program's folder (where the archive goes
// too) with a proposed name, confirming before replacing a file.
SaveFileQuestion DetailsSaveQuestion();

// Writes `details` (the question's whole list, UTF-8) to `path`, replacing a file there only once
// the new one is whole. Empty on success; otherwise the message to show, with the reason.
std::string SaveDetailsFile(const std::string& path, std::string_view details);

}  // namespace tarnwick::app
