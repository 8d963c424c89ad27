// Synchronised calls: run on the window thread, wait, carry exceptions back.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "platform/ServiceBackends.h"

namespace nullvane::testing {
namespace {

template <class Backend>
class UiThreadContractTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Backend::Available()) GTEST_SKIP() << "no display for windows";
        backend = std::make_unique<Backend>();
    }
    platform::UiThread& ui() { return backend->ui; }
    std::unique_ptr<Backend> backend;
};

#ifdef _WIN32
using UiBackends = ::testing::Types<SimUiBackend, Win32UiBackend>;
#else
using UiBackends = ::testing::Types<SimUiBackend>;
#endif
TYPED_TEST_SUITE(UiThreadContractTest, UiBackends, BackendName);

TYPED_TEST(UiThreadContractTest, OnTheWindowThreadACallRunsAtOnce) {
    bool ran = false;
    this->ui().Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TYPED_TEST(UiThreadContractTest, ACallFromAnotherThreadRunsOnTheWindowThreadAndIsWaitedFor) {
    const auto windowThread = std::this_thread::get_id();
    std::thread::id ranOn;
    std::atomic<bool> sawResult{false}, finished{false};
    int value = 0;
    std::thread worker([&] {
        this->ui().Synchronize([&] {
            ranOn = std::this_thread::get_id();
            value = 42;
        });
        // The call has completed by the time Synchronize returns.
        sawResult = value == 42;
        finished = true;
    });
    // Nothing runs until the window thread pumps.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(finished.load());
    EXPECT_TRUE(this->backend->PumpUntil([&] { return finished.load(); }, 10000));
    worker.join();
    EXPECT_EQ(ranOn, windowThread);
    EXPECT_TRUE(sawResult.load());
}

TYPED_TEST(UiThreadContractTest, AnExceptionIsCarriedBackToTheCaller) {
    std::string caught;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        try {
            this->ui().Synchronize([] { throw std::runtime_error("from the window thread"); });
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
        finished = true;
    });
    EXPECT_TRUE(this->backend->PumpUntil([&] { return finished.load(); }, 10000));
    worker.join();
    EXPECT_EQ(caught, "from the window thread");

    // And on the window thread itself.
    EXPECT_THROW(this->ui().Synchronize([] { throw std::logic_error("here"); }), std::logic_error);
}

TYPED_TEST(UiThreadContractTest, CallsFromSeveralThreadsAllRunOneAtATime) {
    constexpr int kThreads = 4, kCalls = 50;
    int counter = 0;  // touched only on the window thread
    std::atomic<int> done{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t)
        workers.emplace_back([&] {
            for (int i = 0; i < kCalls; ++i) this->ui().Synchronize([&] { ++counter; });
            ++done;
        });
    EXPECT_TRUE(this->backend->PumpUntil([&] { return done.load() == kThreads; }, 20000));
    for (auto& worker : workers) worker.join();
    EXPECT_EQ(counter, kThreads * kCalls);
}

TYPED_TEST(UiThreadContractTest, TheWindowThreadCanWaitForAThreadThatIsWaitingForIt) {
    std::atomic<bool> finished{false};
    int served = 0;
    std::thread run([&] {
        for (int i = 0; i < 3; ++i) this->ui().Synchronize([&] { ++served; });
        finished = true;
    });
    EXPECT_TRUE(this->ui().ServeCallsUntil([&] { return finished.load(); }, 10000));
    run.join();
    EXPECT_EQ(served, 3);
    EXPECT_FALSE(this->ui().ServeCallsUntil([] { return false; }, 20)) << "gives up after the timeout";
}

// ---- the simulated message loop ----

using platform::sim::SimMessageQueue;
using platform::sim::SimUiThread;

TEST(SimUiThread, ACallerWaitingWhenTheWindowThreadGoesIsReleasedWithoutTheCall) {
    SimMessageQueue queue;
    SimUiThread ui(queue);
    std::atomic<bool> closedSeen{false};
    bool ran = false;
    std::thread worker([&] {
        try {
            ui.Synchronize([&] { ran = true; });
        } catch (const platform::EUiThreadClosed&) {
            closedSeen = true;
        }
    });
    while (queue.Pending() == 0) std::this_thread::yield();
    queue.Close();
    worker.join();
    EXPECT_TRUE(closedSeen.load());
    EXPECT_FALSE(ran);
    // Later calls from other threads are refused at once.
    std::thread late([&] { EXPECT_THROW(ui.Synchronize([] {}), platform::EUiThreadClosed); });
    late.join();
}

TEST(SimMessageQueue, PostedEntriesRunInOrderAndPumpDrainsWhatTheyPost) {
    SimMessageQueue queue;
    std::vector<int> order;
    queue.Post([&] {
        order.push_back(1);
        queue.Post([&] { order.push_back(3); });
    });
    queue.Post([&] { order.push_back(2); });
    EXPECT_EQ(queue.Pump(), 3u);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(queue.Pending(), 0u);
}

TEST(SimUiThread, ServingCallsLeavesPostedMessagesQueued) {
    SimMessageQueue queue;
    SimUiThread ui(queue);
    int messages = 0, calls = 0;
    queue.Post([&] { ++messages; });
    std::atomic<bool> finished{false};
    std::thread run([&] {
        ui.Synchronize([&] { ++calls; });
        finished = true;
    });
    EXPECT_TRUE(ui.ServeCallsUntil([&] { return finished.load(); }, 5000));
    run.join();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(queue.Pump(), 1u);
    EXPECT_EQ(messages, 1);
}

TEST(SimMessageQueue, OnlyTheWindowThreadPumps) {
    SimMessageQueue queue;
    std::thread other([&] { EXPECT_THROW(queue.Pump(), std::logic_error); });
    other.join();
}

TEST(SimMessageQueue, PumpUntilGivesUpAfterTheTimeout) {
    SimMessageQueue queue;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(queue.PumpUntil([] { return false; }, 30));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

}  // namespace
}  // namespace nullvane::testing
