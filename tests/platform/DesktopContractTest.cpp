// Windows by class name and posted messages, against the sim and (under Wine
// with a display) real windows of a class registered for the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <string>
#include <thread>

#include "platform/ServiceBackends.h"
#include "platform/Text.h"

namespace nullvane::testing {
namespace {

constexpr uint32_t kTestMessage = 0x8000 + 0x21;  // in the application's range

struct Received {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

template <class Backend>
class DesktopContractTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Backend::Available()) GTEST_SKIP() << "no display for windows";
        backend = std::make_unique<Backend>();
    }
    platform::Desktop& desktop() { return backend->desktop; }
    WindowId MakeRecordingWindow(const std::string& className) {
        return backend->MakeWindow(className, [this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
            received.push_back({message, wParam, lParam});
        });
    }
    std::unique_ptr<Backend> backend;
    std::vector<Received> received;
};

#ifdef _WIN32
using DesktopBackends = ::testing::Types<SimDesktopBackend, Win32DesktopBackend>;
#else
using DesktopBackends = ::testing::Types<SimDesktopBackend>;
#endif
TYPED_TEST_SUITE(DesktopContractTest, DesktopBackends, BackendName);

TYPED_TEST(DesktopContractTest, FindsAWindowByItsClassInAnyCase) {
    WindowId window = this->MakeRecordingWindow("NullvaneContractWindow");
    ASSERT_NE(window, 0u);
    EXPECT_EQ(this->desktop().FindWindowByClass("NullvaneContractWindow"), window);
    EXPECT_EQ(this->desktop().FindWindowByClass("NULLVANECONTRACTWINDOW"), window);
    EXPECT_EQ(this->desktop().FindWindowByClass("NullvaneNoSuchWindow"), 0u);
    this->backend->DestroyWindow(window);
    EXPECT_EQ(this->desktop().FindWindowByClass("NullvaneContractWindow"), 0u);
}

TYPED_TEST(DesktopContractTest, PostedMessagesArriveInOrderWhenTheWindowThreadPumps) {
    WindowId window = this->MakeRecordingWindow("NullvaneContractPost");
    ASSERT_TRUE(this->desktop().PostToWindow(window, kTestMessage, 7, 9));
    ASSERT_TRUE(this->desktop().PostToWindow(window, kTestMessage + 1, 8, 0));
    EXPECT_TRUE(this->received.empty()) << "posting does not deliver";
    EXPECT_TRUE(this->backend->PumpUntil([&] { return this->received.size() >= 2; }, 5000));
    ASSERT_EQ(this->received.size(), 2u);
    EXPECT_EQ(this->received[0].message, kTestMessage);
    EXPECT_EQ(this->received[0].wParam, 7u);
    EXPECT_EQ(this->received[0].lParam, 9);
    EXPECT_EQ(this->received[1].message, kTestMessage + 1);
}

TYPED_TEST(DesktopContractTest, MessagesPostedFromAnotherThreadArriveOnTheWindowThread) {
    const auto windowThread = std::this_thread::get_id();
    std::thread::id deliveredOn;
    WindowId window = this->backend->MakeWindow("NullvaneContractThread", [&](uint32_t, uintptr_t, intptr_t) {
        deliveredOn = std::this_thread::get_id();
        this->received.push_back({});
    });
    bool posted = false;
    std::thread poster([&] { posted = this->desktop().PostToWindow(window, kTestMessage, 1, 0); });
    poster.join();
    EXPECT_TRUE(posted);
    EXPECT_TRUE(this->backend->PumpUntil([&] { return !this->received.empty(); }, 5000));
    EXPECT_EQ(deliveredOn, windowThread);
}

TYPED_TEST(DesktopContractTest, ACallFromAnotherThreadRunsBeforeMessagesAlreadyPosted) {
    std::vector<std::string> order;  // touched only on the window thread
    WindowId window = this->backend->MakeWindow("NullvaneContractSent", [&](uint32_t message, uintptr_t, intptr_t) {
        order.push_back("message " + std::to_string(message - kTestMessage));
    });
    std::atomic<bool> done{false};
    std::thread run([&] {
        this->desktop().PostToWindow(window, kTestMessage + 1, 0, 0);
        this->backend->ui.Synchronize([&] { order.push_back("call"); });
        this->desktop().PostToWindow(window, kTestMessage + 2, 0, 0);
        done = true;
    });
    // The window thread looks only once the call waits behind message 1.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!this->backend->CallWaiting() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(this->backend->PumpUntil([&] { return done.load() && order.size() == 3; }, 5000));
    run.join();
    EXPECT_EQ(order, (std::vector<std::string>{"call", "message 1", "message 2"}));
}

TYPED_TEST(DesktopContractTest, PostingToNoWindowOrADestroyedOneFails) {
    WindowId window = this->MakeRecordingWindow("NullvaneContractGone");
    this->backend->DestroyWindow(window);
    EXPECT_FALSE(this->desktop().PostToWindow(window, kTestMessage, 0, 0));
    EXPECT_FALSE(this->desktop().PostToWindow(0, kTestMessage, 0, 0));
}

TYPED_TEST(DesktopContractTest, TheMonitorNearARectangleOffersAWorkAreaAndSaysWhetherItIsOnOne) {
    const platform::MonitorArea on = this->desktop().MonitorNear({10, 10, 200, 100});
    EXPECT_TRUE(on.overlaps);
    EXPECT_GT(on.workArea.width, 0);
    EXPECT_GT(on.workArea.height, 0);
    const platform::MonitorArea off = this->desktop().MonitorNear({-32768, 32767, 704, 507});
    EXPECT_FALSE(off.overlaps);
    EXPECT_GT(off.workArea.width, 0);
    const platform::MonitorArea distant = this->desktop().MonitorNear({INT_MAX, INT_MIN, INT_MAX, INT_MAX});
    EXPECT_FALSE(distant.overlaps);
    EXPECT_GT(distant.workArea.height, 0);
}

// ---- the sim's records ----

using platform::sim::SimDesktop;
using platform::sim::SimMessageQueue;
using platform::sim::SimUiThread;

TEST(SimDesktop, RecordsPostedMessagesAndForegroundRequests) {
    SimMessageQueue queue;
    SimDesktop desktop(queue);
    WindowId first = desktop.RegisterWindow("Main");
    WindowId second = desktop.RegisterWindow("main");
    EXPECT_EQ(desktop.FindWindowByClass("MAIN"), second) << "the newest window is on top";
    std::thread poster([&] { desktop.PostToWindow(first, 0x3410, 5, 0); });
    poster.join();
    desktop.PostToWindow(second, 0x3409, 6, 0);
    EXPECT_TRUE(desktop.SetForegroundWindow(first));
    EXPECT_FALSE(desktop.SetForegroundWindow(0x1));

    auto posted = desktop.Posted();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].window, first);
    EXPECT_EQ(posted[0].message, 0x3410u);
    EXPECT_EQ(posted[0].wParam, 5u);
    EXPECT_EQ(desktop.PostedTo(second).size(), 1u);
    EXPECT_EQ(desktop.ForegroundWindow(), first);
    EXPECT_EQ(queue.Pump(), 2u) << "messages to windows without a handler are still taken off the queue";
}

TEST(SimDesktop, MessagesForAWindowDestroyedBeforeDeliveryAreDropped) {
    SimMessageQueue queue;
    SimDesktop desktop(queue);
    int delivered = 0;
    WindowId window = desktop.RegisterWindow("Main", [&](uint32_t, uintptr_t, intptr_t) { ++delivered; });
    desktop.PostToWindow(window, 1, 0, 0);
    desktop.DestroyWindow(window);
    queue.Pump();
    EXPECT_EQ(delivered, 0);
}

}  // namespace
}  // namespace nullvane::testing

namespace nullvane::testing {
namespace {

TYPED_TEST(DesktopContractTest, AtomsNameHotKeysAndATakenCombinationIsRefused) {
    auto& desktop = this->desktop();
    const uint16_t atom = desktop.AddGlobalAtom("NullvaneContractAtom");
    ASSERT_NE(atom, 0);
    EXPECT_EQ(desktop.FindGlobalAtom("NULLVANECONTRACTATOM"), atom);
    WindowId window = this->MakeRecordingWindow("NullvaneContractHotKey");
    const uint32_t modifiers = platform::hkControl | platform::hkAlt | platform::hkShift;
    const uint32_t f11 = 0x7A;
    ASSERT_TRUE(desktop.RegisterHotKey(window, atom, modifiers, f11));
    EXPECT_FALSE(desktop.RegisterHotKey(window, atom + 1, modifiers, f11));
    desktop.UnregisterHotKey(window, atom);
    EXPECT_TRUE(desktop.RegisterHotKey(window, atom + 1, modifiers, f11));
    desktop.UnregisterHotKey(window, atom + 1);
    desktop.DeleteGlobalAtom(atom);
    EXPECT_EQ(desktop.FindGlobalAtom("NullvaneContractAtom"), 0);

    const auto windows = desktop.TopLevelWindows();
    const auto found = std::find_if(windows.begin(), windows.end(), [&](const auto& w) { return w.window == window; });
    ASSERT_NE(found, windows.end());
    EXPECT_EQ(found->className, "NullvaneContractHotKey");
    EXPECT_EQ(found->processId, this->backend->OwnProcessId()) << "a window names the process that made it";
    EXPECT_TRUE(platform::EqualsIgnoreCase(desktop.ProcessImageName(found->processId), this->backend->OwnImageName()))
        << "a process is named by its program's file name alone, not its folder";
    EXPECT_EQ(desktop.ProcessImageName(0xFFFFFFF0u), "") << "no such process";
    this->backend->DestroyWindow(window);
}

}  // namespace
}  // namespace nullvane::testing
