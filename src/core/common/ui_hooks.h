// Hooks through which long-running engine work keeps the front end alive.
//
// The engine never calls a GUI toolkit. A front end installs a pump hook (the desktop program
// processes its pending window events; the command line checks for an interrupt) and a status
// hook (the desktop program writes the text into the scan window's status bar). Engine code calls
// Pump() and ShowStatus() at its yield points; with no hook installed both do nothing.
#pragma once

#include <functional>
#include <string>

namespace tarnwick {

using PumpHook = std::function<void()>;
using StatusHook = std::function<void(const std::string&)>;

void SetPumpHook(PumpHook hook);
void SetStatusHook(StatusHook hook);

// Lets pending front-end events run.
void Pump();
// Shows a progress text where the front end shows progress.
void ShowStatus(const std::string& text);

}  // namespace tarnwick
