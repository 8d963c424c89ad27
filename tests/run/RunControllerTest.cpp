// The run controller against a view that records what it is told: the
// phases of a Clean, the end of a cancelled run, and the removing-run lock.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sim/SimMachine.h"
#include "run/RemovingRunLock.h"
#include "run/RunController.h"

using namespace nullvane;
using run::TRunEnd;
using run::TRunPhase;
using run::TStartOutcome;

namespace {

const char* NameOf(TRunPhase phase) {
    switch (phase) {
    case TRunPhase::Idle: return "Idle";
    case TRunPhase::Testing: return "Testing";
    case TRunPhase::PreScan: return "PreScan";
    case TRunPhase::Removing: return "Removing";
    }
    return "?";
}

const char* NameOf(TRunEnd end) {
    switch (end) {
    case TRunEnd::Finished: return "Finished";
    case TRunEnd::FinishedWithErrors: return "FinishedWithErrors";
    case TRunEnd::Aborted: return "Aborted";
    case TRunEnd::Cancelled: return "Cancelled";
    }
    return "?";
}

const char* NameOf(TStartOutcome why) {
    switch (why) {
    case TStartOutcome::Started: return "Started";
    case TStartOutcome::Busy: return "Busy";
    case TStartOutcome::NothingTicked: return "NothingTicked";
    case TStartOutcome::BrowserOpen: return "BrowserOpen";
    case TStartOutcome::Declined: return "Declined";
    case TStartOutcome::AnotherRunRemoving: return "AnotherRunRemoving";
    }
    return "?";
}

// What the controller tells the window, in order (the log lines apart).
class TRecordingView final : public run::TRunView {
public:
    std::vector<std::string> Events;
    std::vector<std::string> LogLines;
    // What the window does on a line (a click handled meanwhile, say).
    std::function<void()> OnLogLine;

    void AddLogLine(const std::string& line) override {
        LogLines.push_back(line);
        if (OnLogLine) OnLogLine();
    }
    void ScrollLogToEnd() override {}
    void ShowCurrentItem(const std::string&) override {}
    void RunStarting(TRunPhase phase, base::TRunMode mode) override {
        Events.push_back(std::string("start ") + NameOf(phase) + (mode == base::rmTest ? " test" : " removing"));
    }
    void RunProgress(int32_t count, std::optional<int> perMille) override {
        Events.push_back("progress " + std::to_string(count) + (perMille ? " " + std::to_string(*perMille) : ""));
    }
    void RunEnded(TRunEnd end, const std::string&) override { Events.push_back(std::string("end ") + NameOf(end)); }
    void RunRefused(TStartOutcome why, const std::string&) override {
        Events.push_back(std::string("refused ") + NameOf(why));
    }
    bool ConfirmRemoval(base::TRunMode) override {
        Events.push_back("confirm");
        return true;
    }
};

// Counts two items per call and notes how each run saw the machine; it can
// be held at an item until let go or cancelled.
class TCountingCleaner {
public:
    struct TCall {
        std::string Item;
        bool Testing;
        bool FastScan;
        bool LockHeld;
    };
    explicit TCountingCleaner(platform::sim::SimSessionLocks& locks) : locks_(locks) {}

    void operator()(base::TRunContext& run, const std::string& itemName) {
        std::unique_lock lock(mutex_);
        calls_.push_back({itemName, run.IsTestRun(), run.FastScan(), locks_.IsHeld(run::kRemovingRunLockName)});
        holding_ = hold_;
        while (hold_ && !run.Terminated()) changed_.wait_for(lock, std::chrono::milliseconds(5));
        holding_ = false;
        run.ItemCount = 2;
    }
    void Hold() {
        std::lock_guard lock(mutex_);
        hold_ = true;
    }
    void Release() {
        std::lock_guard lock(mutex_);
        hold_ = false;
    }
    [[nodiscard]] bool Holding() const {
        std::lock_guard lock(mutex_);
        return holding_;
    }
    [[nodiscard]] std::vector<TCall> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }

private:
    platform::sim::SimSessionLocks& locks_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<TCall> calls_;
    bool hold_ = false;
    bool holding_ = false;
};

class RunControllerTest : public ::testing::Test {
protected:
    RunControllerTest() {
        const size_t things = tree.AddCategory("Things", 1);
        tree.SetState(tree.AddItem(things, "One"), run::kStateTicked);
        tree.SetState(tree.AddItem(things, "Two"), run::kStateTicked);
        controller.Window = window;
        controller.Dispatcher = [this](base::TRunContext& run, const std::string& item) { (*cleaner)(run, item); };
    }
    ~RunControllerTest() override {
        cleaner->Release();
        controller.TerminateAll();
        (void)sim.queue().PumpUntil([&] { return controller.AllEnded(); }, 10000);
    }

    bool Pump(const std::function<bool()>& done) { return sim.queue().PumpUntil(done, 10000); }
    [[nodiscard]] bool LockHeld() { return sim.locks().IsHeld(run::kRemovingRunLockName); }

    platform::sim::SimMachine sim;
    run::TCleanItemTree tree;
    TRecordingView view;
    std::shared_ptr<TCountingCleaner> cleaner = std::make_shared<TCountingCleaner>(sim.locks());
    run::TRunController controller{sim.Machine(), tree, view};
    platform::WindowId window = sim.desktop().RegisterWindow("TfrmMain", [this](uint32_t message, uintptr_t wParam, intptr_t) {
        (void)controller.HandleMessage(message, static_cast<int32_t>(wParam));
    });
};

TEST_F(RunControllerTest, ACleanAsksPreScansInFastModeThenRemovesWithProgressAndHoldsTheLockUntilItsEnd) {
    base::TRunOptions detailed;
    detailed.FastScan = false;
    ASSERT_EQ(controller.RequestStart(base::rmCleanRequested, detailed), TStartOutcome::Started);
    EXPECT_EQ(controller.Phase(), TRunPhase::PreScan);
    ASSERT_TRUE(Pump([&] { return controller.Idle(); }));

    EXPECT_EQ(view.Events, (std::vector<std::string>{"confirm", "start PreScan test", "progress 2", "progress 4",
                                                     "start Removing removing", "progress 2 500", "progress 4 1000",
                                                     "end Finished"}));
    EXPECT_EQ(controller.ExpectedItems(), 4);
    // The pre-scan, the removing pass and the quiet Test of what it left.
    const auto calls = cleaner->Calls();
    ASSERT_EQ(calls.size(), 6u);
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].Testing, i < 2 || i >= 4);
        EXPECT_EQ(calls[i].FastScan, i < 2 || i >= 4) << "the removing pass alone follows the setting";
        EXPECT_TRUE(calls[i].LockHeld);
    }
    EXPECT_FALSE(LockHeld());
}

TEST_F(RunControllerTest, ACancelledRunEndsOnceLetsTheLockGoAndItsLateEndDoesNotEndTheNextRun) {
    cleaner->Hold();
    ASSERT_EQ(controller.RequestStart(base::rmCleanRequested, base::TRunOptions{}), TStartOutcome::Started);
    ASSERT_TRUE(Pump([&] { return cleaner->Holding(); }));
    controller.Cancel();
    EXPECT_TRUE(controller.Idle());
    EXPECT_FALSE(LockHeld());
    cleaner->Release();
    ASSERT_TRUE(Pump([&] { return controller.AllEnded(); }));
    (void)sim.queue().Pump();
    EXPECT_EQ(view.Events, (std::vector<std::string>{"confirm", "start PreScan test", "end Cancelled"}))
        << "nothing is removed after a cancelled pre-scan";

    // A Test that has posted its end, cancelled before the end is taken,
    // then another Test: the first one's end belongs to neither.
    view.Events.clear();
    ASSERT_EQ(controller.RequestStart(base::rmTest, base::TRunOptions{}), TStartOutcome::Started);
    // Its calls are served; its posted messages stay queued.
    ASSERT_TRUE(sim.queue().RunCallsUntil([&] { return controller.Current()->EndPosted(); }, 10000));
    controller.Cancel();
    cleaner->Hold();
    ASSERT_EQ(controller.RequestStart(base::rmTest, base::TRunOptions{}), TStartOutcome::Started);
    ASSERT_TRUE(Pump([&] { return cleaner->Holding(); }));
    (void)sim.queue().Pump();
    EXPECT_EQ(controller.Phase(), TRunPhase::Testing);
    EXPECT_EQ(std::count(view.Events.begin(), view.Events.end(), "end Finished"), 0) << "the first run's end was taken";
    cleaner->Release();
    ASSERT_TRUE(Pump([&] { return controller.Idle(); }));
    EXPECT_EQ(view.Events.back(), "end Finished");
}

TEST_F(RunControllerTest, ARunOnTheCallersThreadCancelledFromItsOwnLogLineEndsOnceAndIsKeptUntilItsEnd) {
    // The command line runs on its own thread: the run's lines reach the view
    // while the run is still on the stack below.
    view.OnLogLine = [&] {
        if (!controller.Idle()) controller.Cancel();
    };
    EXPECT_EQ(controller.RunHere(base::rmTest, base::TRunOptions{}), TStartOutcome::Started);
    EXPECT_EQ(view.Events, (std::vector<std::string>{"start Testing test", "end Cancelled"}));
    EXPECT_EQ(cleaner->Calls().size(), 1u) << "the item under way ends, no later one starts";
    EXPECT_TRUE(controller.AllEnded());
    view.OnLogLine = nullptr;
    ASSERT_EQ(controller.RunHere(base::rmTest, base::TRunOptions{}), TStartOutcome::Started);
    EXPECT_EQ(view.Events.back(), "end Finished");
}

TEST_F(RunControllerTest, ARemovingRunIsRefusedWhileAnotherHoldsTheLockAndATestIsNot) {
    sim.locks().HoldElsewhere(run::kRemovingRunLockName);
    EXPECT_EQ(controller.RequestStart(base::rmUnattended, base::TRunOptions{}), TStartOutcome::AnotherRunRemoving);
    EXPECT_EQ(controller.RequestStart(base::rmCleanRequested, base::TRunOptions{}), TStartOutcome::AnotherRunRemoving);
    EXPECT_EQ(view.Events, (std::vector<std::string>{"confirm", "refused AnotherRunRemoving", "confirm",
                                                     "refused AnotherRunRemoving"}));
    EXPECT_TRUE(controller.Idle());

    view.Events.clear();
    ASSERT_EQ(controller.RequestStart(base::rmTest, base::TRunOptions{}), TStartOutcome::Started);
    ASSERT_TRUE(Pump([&] { return controller.Idle(); }));
    EXPECT_EQ(view.Events.back(), "end Finished");

    sim.locks().ReleaseElsewhere(run::kRemovingRunLockName);
    ASSERT_EQ(controller.RequestStart(base::rmUnattended, base::TRunOptions{}), TStartOutcome::Started);
    ASSERT_TRUE(Pump([&] { return controller.Idle(); }));
    EXPECT_TRUE(cleaner->Calls().back().LockHeld);
    EXPECT_FALSE(LockHeld());
}

}  // namespace
