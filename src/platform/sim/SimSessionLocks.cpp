#include "platform/sim/SimSessionLocks.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace nullvane::platform::sim {

struct SimSessionLocks::TState {
    struct TEntry {
        std::thread::id owner;
        int count = 0;
        bool elsewhere = false;
    };
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::string, TEntry> entries;
    std::vector<int> waits;

    // Lets go one hold of the calling thread.
    void LetGo(const std::string& name, std::thread::id thread) {
        {
            std::lock_guard lock(mutex);
            auto it = entries.find(name);
            if (it == entries.end() || it->second.count == 0 || it->second.owner != thread) return;
            --it->second.count;
        }
        changed.notify_all();
    }
};

namespace {

using TState = SimSessionLocks::TState;

class TSimHold final : public SessionLockHold {
public:
    TSimHold(std::weak_ptr<TState> state, std::string name) : state_(std::move(state)), name_(std::move(name)) {}
    ~TSimHold() override {
        if (auto state = state_.lock()) state->LetGo(name_, std::this_thread::get_id());
    }

private:
    std::weak_ptr<TState> state_;
    std::string name_;
};

}  // namespace

SimSessionLocks::SimSessionLocks() : state_(std::make_shared<TState>()) {}

SimSessionLocks::~SimSessionLocks() = default;

std::unique_ptr<SessionLockHold> SimSessionLocks::Acquire(const std::string& name, int timeoutMs) {
    auto& state = *state_;
    std::unique_lock lock(state.mutex);
    const auto me = std::this_thread::get_id();
    auto& entry = state.entries[name];  // map entries stay where they are
    if (entry.elsewhere) {
        state.waits.push_back(timeoutMs);
        auto hook = OnWaitElsewhere;
        lock.unlock();
        if (hook) hook(name, timeoutMs);
        lock.lock();
        if (entry.elsewhere) return nullptr;
    }
    if (entry.count > 0 && entry.owner != me) {
        state.waits.push_back(timeoutMs);
        const bool free = state.changed.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                                                 [&] { return entry.count == 0 && !entry.elsewhere; });
        if (!free) return nullptr;
    }
    entry.owner = me;
    ++entry.count;
    return std::make_unique<TSimHold>(state_, name);
}

void SimSessionLocks::HoldElsewhere(const std::string& name) {
    std::lock_guard lock(state_->mutex);
    state_->entries[name].elsewhere = true;
}

void SimSessionLocks::ReleaseElsewhere(const std::string& name) {
    {
        std::lock_guard lock(state_->mutex);
        state_->entries[name].elsewhere = false;
    }
    state_->changed.notify_all();
}

bool SimSessionLocks::IsHeld(const std::string& name) const {
    std::lock_guard lock(state_->mutex);
    auto it = state_->entries.find(name);
    return it != state_->entries.end() && (it->second.count > 0 || it->second.elsewhere);
}

std::vector<int> SimSessionLocks::Waits() const {
    std::lock_guard lock(state_->mutex);
    return state_->waits;
}

}  // namespace nullvane::platform::sim
