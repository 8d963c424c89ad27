#include "platform/sim/SimMessageQueue.h"

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
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        entries_.push_back(Entry{std::move(run), std::move(abandon)});
    }
    posted_.notify_all();
    return true;
}

size_t SimMessageQueue::Pump() {
    if (!IsWindowThread()) throw std::logic_error("SimMessageQueue::Pump called off the window thread");
    size_t count = 0;
    for (;;) {
        Entry entry;
        {
            std::lock_guard lock(mutex_);
            if (entries_.empty()) return count;
            entry = std::move(entries_.front());
            entries_.pop_front();
        }
        // Run without the lock: entries post, pump (modal loops) and synchronise.
        entry.run();
        ++count;
    }
}

bool SimMessageQueue::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    for (;;) {
        Pump();
        if (done()) return true;
        auto now = steady_clock::now();
        if (now >= deadline) return false;
        // Short waits: `done` may turn true without anything being posted.
        std::unique_lock lock(mutex_);
        posted_.wait_for(lock, std::min<steady_clock::duration>(deadline - now, milliseconds(5)),
                         [&] { return !entries_.empty() || closed_; });
    }
}

size_t SimMessageQueue::Pending() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
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
