#pragma once
// The message queue of one simulated window thread. Any thread may post;
// only the window thread runs what was posted, when it pumps. As on Windows,
// calls synchronised from other threads run before the posted messages that
// are waiting; each kind runs in the order it was queued.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace nullvane::platform::sim {

class SimMessageQueue {
public:
    // The creating thread is the window thread.
    SimMessageQueue();
    // Closes the queue (see Close).
    ~SimMessageQueue();
    SimMessageQueue(const SimMessageQueue&) = delete;
    SimMessageQueue& operator=(const SimMessageQueue&) = delete;

    // The calling thread becomes the window thread.
    void AdoptWindowThread();
    [[nodiscard]] bool IsWindowThread() const;

    // Queues `run` for the window thread; `abandon`, if given, is called
    // instead when the queue closes before `run` ran. Thread-safe; false
    // (and nothing queued) once the queue is closed.
    bool Post(std::function<void()> run, std::function<void()> abandon = {});
    // The same for a synchronised call, which RunCallsUntil also runs.
    bool PostCall(std::function<void()> run, std::function<void()> abandon);

    // Window thread only (std::logic_error otherwise). Runs everything that
    // is queued, including what the running entries queue, until the queue
    // is empty; the number of entries run.
    size_t Pump();
    // Pumps until `done` is true (checked after each drain) or timeoutMs of
    // real time have passed; the last answer of `done`.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs);
    // Window thread only. Like PumpUntil, but runs only synchronised calls;
    // posted messages keep their place in the queue.
    bool RunCallsUntil(const std::function<bool()>& done, int timeoutMs);

    [[nodiscard]] size_t Pending() const;
    // Of those, the synchronised calls waiting to run.
    [[nodiscard]] size_t CallsPending() const;

    // The window thread has gone: queued entries are abandoned, later posts
    // fail. Threads waiting on a synchronised call are released.
    void Close();
    [[nodiscard]] bool IsClosed() const;

private:
    struct Entry {
        std::function<void()> run;
        std::function<void()> abandon;
    };

    bool Queue(Entry entry, bool isCall);
    // Runs queued entries, calls first (only calls if callsOnly), until none
    // is left; the count.
    size_t Drain(bool callsOnly);
    bool RunUntil(const std::function<bool()>& done, int timeoutMs, bool callsOnly);

    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Entry> calls_;
    std::deque<Entry> posted_;
    std::thread::id windowThread_;
    bool closed_ = false;
};

}  // namespace nullvane::platform::sim
