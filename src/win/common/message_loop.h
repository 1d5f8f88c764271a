// The thread's message handling: the program's loop, the loop of a modal window, and letting
// pending messages run while long work goes on inside a handler. Keyboard navigation of dialogs
// (Tab, Enter, Escape, access keys) works in all of them.
#pragma once

#include <windows.h>

#include <functional>

namespace tarnwick::win {

// Translates and dispatches one message, through the dialog manager of its top-level window.
void DispatchOne(MSG& msg);

// Dispatches every message queued for the thread without waiting. Returns false once WM_QUIT has
// been seen (it is posted again for the outer loop).
bool PumpPending();

// Runs messages until `done` returns true or WM_QUIT arrives (posted again for the outer loop).
// While it runs, `owner` (when not null) is disabled, as the owner of a modal window is.
void RunModalLoop(HWND owner, const std::function<bool()>& done);

}  // namespace tarnwick::win
