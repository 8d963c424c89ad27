#pragma once
// Simulated session locks. Threads of this process take and wait for them as
// for real ones, except that a thread that ends still holding a lock keeps it
// (the sim cannot see threads end). Another process is modelled by
// HoldElsewhere: such a lock refuses at once, without waiting, unless the
// test lets it go from OnWaitElsewhere, which each refused wait calls first
// (the other process ending, or crashing, within the wait).
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/SessionLocks.h"

namespace nullvane::platform::sim {

class SimSessionLocks final : public SessionLocks {
public:
    SimSessionLocks();
    ~SimSessionLocks() override;
    SimSessionLocks(const SimSessionLocks&) = delete;
    SimSessionLocks& operator=(const SimSessionLocks&) = delete;

    [[nodiscard]] std::unique_ptr<SessionLockHold> Acquire(const std::string& name, int timeoutMs) override;

    // Another process of the user takes the lock, or lets it go (or ends,
    // which comes to the same: the next Acquire takes it).
    void HoldElsewhere(const std::string& name);
    void ReleaseElsewhere(const std::string& name);
    // Called (without the sim's lock held) when an Acquire meets a lock held
    // elsewhere, with the name and the wait asked for.
    std::function<void(const std::string& name, int timeoutMs)> OnWaitElsewhere;

    // Held by a thread of this process or elsewhere.
    [[nodiscard]] bool IsHeld(const std::string& name) const;
    // The waits asked for by Acquire calls that met a held lock, in order.
    [[nodiscard]] std::vector<int> Waits() const;

    struct TState;

private:
    std::shared_ptr<TState> state_;
};

}  // namespace nullvane::platform::sim
