#include "platform/sim/SimUiThread.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

namespace nullvane::platform::sim {

namespace {

// What the waiting caller and the window thread share for one call.
struct PendingCall {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    std::exception_ptr error;
};

}  // namespace

SimUiThread::SimUiThread(SimMessageQueue& queue) : queue_(queue) { queue_.AdoptWindowThread(); }

void SimUiThread::Synchronize(const std::function<void()>& call) {
    if (queue_.IsWindowThread()) {
        ++callCount_;
        call();
        return;
    }
    auto pending = std::make_shared<PendingCall>();
    bool queued = queue_.PostCall(
        [this, pending, &call] {
            std::exception_ptr error;
            ++callCount_;
            try {
                call();
            } catch (...) {
                error = std::current_exception();
            }
            {
                std::lock_guard lock(pending->mutex);
                pending->error = error;
                pending->done = true;
            }
            pending->finished.notify_all();
        },
        [pending] {
            {
                std::lock_guard lock(pending->mutex);
                pending->abandoned = true;
            }
            pending->finished.notify_all();
        });
    if (!queued) throw EUiThreadClosed();
    std::unique_lock lock(pending->mutex);
    pending->finished.wait(lock, [&] { return pending->done || pending->abandoned; });
    if (!pending->done) throw EUiThreadClosed();
    if (pending->error) std::rethrow_exception(pending->error);
}

bool SimUiThread::ServeCallsUntil(const std::function<bool()>& done, int timeoutMs) {
    return queue_.RunCallsUntil(done, timeoutMs);
}

}  // namespace nullvane::platform::sim
