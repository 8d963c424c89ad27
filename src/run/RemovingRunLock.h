#pragma once
// One run that removes at a time per user: the window's Clean (from its
// pre-scan to the end of its removing pass), its unattended cleans and
// nullvane-cli --clean all take this lock first; two at once would find and
// count the same files. Test runs never take it.
#include <memory>

#include "platform/SessionLocks.h"

namespace nullvane::run {

inline constexpr char kRemovingRunLockName[] = "Nullvane.RemovingRun";
// How long a second removing run waits for the first before it refuses.
inline constexpr int kRemovingRunWaitMs = 5000;

// The lock taken, or nullptr when another removing run still holds it after
// the wait. Let go on the thread that took it.
[[nodiscard]] inline std::unique_ptr<platform::SessionLockHold> AcquireRemovingRun(platform::SessionLocks& locks) {
    return locks.Acquire(kRemovingRunLockName, kRemovingRunWaitMs);
}

}  // namespace nullvane::run
