#include "platform/sim/SimMessageQueue.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace nullvane::platform::sim {

SimMessageQueue::SimMessageQueue() : windowThread_(std::this_thread::get_id()) {}

SimMessageQueue::~SimMessageQueue() { Close(); }

void SimMessageQueue::AdoptWindowThread() {
    std::lock_guard lock(mutex_);
    windowThread_ = std::this_thread::get_id();
}

bool SimMessageQueue::IsWindowThread() const {
    std::lock_guard lock(mutex_);
    return windowThread_ == std::this_thread::get_id();
}

bool SimMessageQueue::Post(std::function<void()> run, std::function<void()> abandon) {
    return Queue(Entry{std::move(run), std::move(abandon), false});
}

bool SimMessageQueue::PostCall(std::function<void()> run, std::function<void()> abandon) {
    return Queue(Entry{std::move(run), std::move(abandon), true});
}

bool SimMessageQueue::Queue(Entry entry) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        entries_.push_back(std::move(entry));
    }
    posted_.notify_all();
    return true;
}

size_t SimMessageQueue::Drain(bool callsOnly) {
    if (!IsWindowThread()) throw std::logic_error("SimMessageQueue pumped off the window thread");
    size_t count = 0;
    for (;;) {
        Entry entry;
        {
            std::lock_guard lock(mutex_);
            auto it = entries_.begin();
            if (callsOnly) it = std::find_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.isCall; });
            if (it == entries_.end()) return count;
            entry = std::move(*it);
            entries_.erase(it);
        }
        // Run without the lock: entries post, pump (modal loops) and synchronise.
        entry.run();
        ++count;
    }
}

size_t SimMessageQueue::Pump() { return Drain(false); }

bool SimMessageQueue::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    return RunUntil(done, timeoutMs, false);
}

bool SimMessageQueue::RunCallsUntil(const std::function<bool()>& done, int timeoutMs) {
    return RunUntil(done, timeoutMs, true);
}

bool SimMessageQueue::RunUntil(const std::function<bool()>& done, int timeoutMs, bool callsOnly) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    for (;;) {
        Drain(callsOnly);
        if (done()) return true;
        auto now = steady_clock::now();
        if (now >= deadline) return false;
        // Short waits: `done` may turn true without anything being queued.
        std::unique_lock lock(mutex_);
        size_t seen = entries_.size();
        posted_.wait_for(lock, std::min<steady_clock::duration>(deadline - now, milliseconds(5)),
                         [&] { return entries_.size() != seen || closed_; });
    }
}

size_t SimMessageQueue::Pending() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

size_t SimMessageQueue::CallsPending() const {
    std::lock_guard lock(mutex_);
    return static_cast<size_t>(std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.isCall; }));
}

void SimMessageQueue::Close() {
    std::deque<Entry> dropped;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        dropped.swap(entries_);
    }
    posted_.notify_all();
    for (auto& entry : dropped)
        if (entry.abandon) entry.abandon();
}

bool SimMessageQueue::IsClosed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

}  // namespace nullvane::platform::sim
