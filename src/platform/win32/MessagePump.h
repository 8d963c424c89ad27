#pragma once
// The one loop the window thread waits in while it keeps its windows alive:
// the program's waits and the tests' pumping alike.
#include <windows.h>

#include <functional>

namespace nullvane::platform::win32 {

// Handles one message taken off the queue.
using TMessageDispatch = std::function<void(MSG& message)>;

// Runs the calling thread's message loop until `done` is true or timeoutMs
// have passed; the last answer of `done`. Each message goes to `dispatch`
// (translated and dispatched if none is given). A WM_QUIT ends the wait and
// is posted again, so the program's own loop still sees it and closes.
bool PumpMessagesUntil(const std::function<bool()>& done, int timeoutMs, const TMessageDispatch& dispatch = {});

}  // namespace nullvane::platform::win32
