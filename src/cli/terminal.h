// What the command line needs to know about the terminal it prints to.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tarnwick::cli {

// True when `stream` (stdout or stderr) is a terminal rather than a file or pipe.
bool IsTerminal(std::FILE* stream);

// The width of the terminal behind `stream` in columns; 80 when it cannot be told.
int TerminalWidth(std::FILE* stream);

// Makes the console show UTF-8 text as such (Windows); nothing elsewhere.
void PrepareConsoleOutput();

// `text` with control characters replaced by "?", so that a file name cannot move the cursor or
// send escape sequences to a terminal.
std::string TerminalSafe(std::string_view text);

}  // namespace tarnwick::cli
