#pragma once
// Synchronised calls into a simulated window thread: from another thread the
// call is queued and the caller waits until the window thread pumps it.
#include <atomic>

#include "platform/UiThread.h"
#include "platform/sim/SimMessageQueue.h"

namespace nullvane::platform::sim {

class SimUiThread final : public UiThread {
public:
    // The creating thread becomes the queue's window thread.
    explicit SimUiThread(SimMessageQueue& queue);

    void Synchronize(const std::function<void()>& call) override;
    bool ServeCallsUntil(const std::function<bool()>& done, int timeoutMs) override;

    // Synchronised calls run so far (on the window thread, at once or pumped).
    [[nodiscard]] int CallCount() const { return callCount_.load(); }

private:
    SimMessageQueue& queue_;
    std::atomic<int> callCount_{0};
};

}  // namespace nullvane::platform::sim
