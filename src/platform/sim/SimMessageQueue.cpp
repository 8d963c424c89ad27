#include "platform/sim/SimMessageQueue.h"

#include <algorithm>
#include <chrono>
#include <initializer_list>
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
    return Queue(Entry{std::move(run), std::move(abandon)}, false);
}

bool SimMessageQueue::PostCall(std::function<void()> run, std::function<void()> abandon) {
    return Queue(Entry{std::move(run), std::move(abandon)}, true);
}

bool SimMessageQueue::Queue(Entry entry, bool isCall) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        (isCall ? calls_ : posted_).push_back(std::move(entry));
    }
    arrived_.notify_all();
    return true;
}

size_t SimMessageQueue::Drain(bool callsOnly) {
    if (!IsWindowThread()) throw std::logic_error("SimMessageQueue pumped off the window thread");
    size_t count = 0;
    for (;;) {
        Entry entry;
        {
            std::lock_guard lock(mutex_);
            // Looked at afresh for each entry: a call that arrives while a
            // posted message runs goes ahead of the messages still waiting.
            std::deque<Entry>* from = !calls_.empty() ? &calls_ : callsOnly ? nullptr : &posted_;
            if (!from || from->empty()) return count;
            entry = std::move(from->front());
            from->pop_front();
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
        const size_t seenCalls = calls_.size(), seenPosted = posted_.size();
        arrived_.wait_for(lock, std::min<steady_clock::duration>(deadline - now, milliseconds(5)),
                          [&] { return calls_.size() != seenCalls || posted_.size() != seenPosted || closed_; });
    }
}

size_t SimMessageQueue::Pending() const {
    std::lock_guard lock(mutex_);
    return calls_.size() + posted_.size();
}

size_t SimMessageQueue::CallsPending() const {
    std::lock_guard lock(mutex_);
    return calls_.size();
}

void SimMessageQueue::Close() {
    std::deque<Entry> droppedCalls, droppedPosted;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        droppedCalls.swap(calls_);
        droppedPosted.swap(posted_);
    }
    arrived_.notify_all();
    for (auto* dropped : {&droppedCalls, &droppedPosted})
        for (auto& entry : *dropped)
            if (entry.abandon) entry.abandon();
}

bool SimMessageQueue::IsClosed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

}  // namespace nullvane::platform::sim
