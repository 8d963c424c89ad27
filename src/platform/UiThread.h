#pragma once
// Calls from the run thread into the window thread.
#include <functional>

namespace nullvane::platform {

class UiThread {
public:
    virtual ~UiThread() = default;
    // Runs `call` on the window thread and waits for it to finish. Called on
    // the window thread itself, it runs the call at once. An exception thrown
    // by the call is caught on the window thread and thrown again here.
    virtual void Synchronize(const std::function<void()>& call) = 0;
};

}  // namespace nullvane::platform
