#pragma once
// Calls from the run thread into the window thread.
#include <functional>
#include <stdexcept>

namespace nullvane::platform {

// Thrown by Synchronize when the window thread no longer runs calls (its
// window is gone, the program is closing): the call did not run.
class EUiThreadClosed : public std::runtime_error {
public:
    EUiThreadClosed() : std::runtime_error("the window thread no longer runs calls") {}
};

class UiThread {
public:
    virtual ~UiThread() = default;
    // Runs `call` on the window thread and waits for it to finish. Called on
    // the window thread itself, it runs the call at once. An exception thrown
    // by the call is caught on the window thread and thrown again here.
    // Throws EUiThreadClosed if the window thread can no longer run it.
    virtual void Synchronize(const std::function<void()>& call) = 0;

    // On the window thread: waits until `done` is true or timeoutMs have
    // passed, running the synchronised calls that arrive meanwhile (posted
    // messages stay queued), so the window thread can wait for a run thread
    // that is itself waiting in Synchronize. The last answer of `done`.
    virtual bool ServeCallsUntil(const std::function<bool()>& done, int timeoutMs) = 0;
};

}  // namespace nullvane::platform
