// Session locks against the sim and (under Wine) named mutexes: one holder at
// a time across threads and a bounded wait; a real mutex left by a thread
// that ended goes to the next.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/ServiceBackends.h"
#include "platform/SessionLocks.h"
#include "platform/sim/SimSessionLocks.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32SessionLocks.h"
#endif

namespace nullvane::testing {
namespace {

using namespace std::chrono_literals;
using platform::SessionLockHold;

struct SimLocksBackend {
    static constexpr const char* kName = "Sim";
    platform::sim::SimSessionLocks locks;
};

#ifdef _WIN32
struct Win32LocksBackend {
    static constexpr const char* kName = "Win32";
    platform::win32::Win32SessionLocks locks;
};
using LocksBackends = ::testing::Types<SimLocksBackend, Win32LocksBackend>;
#else
using LocksBackends = ::testing::Types<SimLocksBackend>;
#endif

template <class Backend>
class SessionLocksContractTest : public ::testing::Test {
protected:
    platform::SessionLocks& locks() { return backend.locks; }
    // A name of this test's own, so that runs of the suite never meet.
    std::string Name(const std::string& which) {
        return "Nullvane.ContractTest." + which + "." + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    Backend backend;
};

TYPED_TEST_SUITE(SessionLocksContractTest, LocksBackends, BackendName);

TYPED_TEST(SessionLocksContractTest, AnotherThreadWaitsAtMostItsTimeAndTakesTheLockOnceLetGo) {
    const std::string name = this->Name("wait");
    auto held = this->locks().Acquire(name, 0);
    ASSERT_TRUE(held);
    EXPECT_TRUE(this->locks().Acquire(this->Name("other"), 0)) << "other names are other locks";

    std::unique_ptr<SessionLockHold> refused;
    std::chrono::steady_clock::duration waited{};
    std::thread([&] {
        const auto start = std::chrono::steady_clock::now();
        refused = this->locks().Acquire(name, 150);
        waited = std::chrono::steady_clock::now() - start;
    }).join();
    EXPECT_FALSE(refused);
    EXPECT_GE(waited, 100ms) << "it waited";

    // Let go while the other thread waits: it gets the lock.
    std::atomic<bool> taken{false};
    std::thread waiter([&] {
        auto hold = this->locks().Acquire(name, 10000);
        taken = hold != nullptr;
    });
    std::this_thread::sleep_for(50ms);
    held.reset();
    waiter.join();
    EXPECT_TRUE(taken);
}

#ifdef _WIN32
TEST(Win32SessionLocks, AMutexWhoseThreadEndedWithoutLettingGoIsTaken) {
    platform::win32::Win32SessionLocks locks;
    const std::string name = "Nullvane.ContractTest.abandoned." + std::to_string(GetCurrentProcessId());
    // The thread ends holding it, as a program that crashed would.
    std::unique_ptr<SessionLockHold> left;
    std::thread([&] { left = locks.Acquire(name, 0); }).join();
    ASSERT_TRUE(left);
    EXPECT_TRUE(locks.Acquire(name, 1000));
    left.reset();  // on a thread that does not hold it: changes nothing
}
#endif

}  // namespace
}  // namespace nullvane::testing
