#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <thread>

#include "platform/sim/SimMachine.h"
#include "run/ClearTaskThread.h"
#include "base/FormatKilobytes.h"
#include "run/RecordingLogSink.h"

using namespace nullvane;
using run::TClearTaskThread;
using base::TRunContext;

namespace {

struct TPost {
    uint32_t Message;
    uintptr_t WParam;
    bool operator==(const TPost&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TPost& post) {
    return out << std::hex << "0x" << post.Message << std::dec << "(" << post.WParam << ")";
}

class ClearTaskThreadTest : public ::testing::Test {
protected:
    std::unique_ptr<TClearTaskThread> MakeRun(base::TRunMode mode, std::vector<std::string> names,
                                              TClearTaskThread::TDispatcher cleaner) {
        auto task = std::make_unique<TClearTaskThread>(sim.Machine(), mode, mainWindow, logBox, std::move(names));
        task->Dispatch = std::move(cleaner);
        return task;
    }

    std::vector<TPost> PostedToMainWindow() {
        std::vector<TPost> posts;
        for (const auto& message : sim.desktop().PostedTo(mainWindow)) posts.push_back({message.message, message.wParam});
        return posts;
    }

    platform::sim::SimMachine sim;
    platform::WindowId mainWindow = sim.desktop().RegisterWindow("TfrmMain");
    nullvane::testing::TRecordingLogSink logBox;
    const std::string separator = std::string(107, '-');
};

void NoCleaner(TRunContext&, const std::string&) {}

}  // namespace

TEST_F(ClearTaskThreadTest, AnEmptyRunWritesOnlyTheTotalsAndFinishesWithZero) {
    auto task = MakeRun(base::rmTest, {}, NoCleaner);
    task->Execute();
    EXPECT_EQ(logBox.Lines(), (std::vector<std::string>{
                               separator, "Total items will be removed = 0 ; Total files will be removed = 0 KB",
                               separator}));
    EXPECT_EQ(PostedToMainWindow(), (std::vector<TPost>{{base::WM_RUNFINISHED, 0}}));
    EXPECT_TRUE(task->Finished());
}

TEST_F(ClearTaskThreadTest, ARunOfOneTestItemHasNoSeparatorBeforeItsHeader) {
    auto task = MakeRun(base::rmTest, {"Windows - Temporary Files"}, [](TRunContext& run, const std::string&) {
        run.ItemCount = 12;
        run.ItemBytes = 1048576;
        run.ItemSizeText = base::FormatKilobytes(run.ItemBytes);
    });
    task->Execute();
    EXPECT_EQ(logBox.Lines(), (std::vector<std::string>{
                               "Test: Clearing Windows - Temporary Files ...", "",
                               "12 items will be removed; 1,024 KB will be removed.", "", separator,
                               "Total items will be removed = 12 ; Total files will be removed = 1,024 KB",
                               separator}));
    EXPECT_EQ(logBox.CurrentItem(), "Windows - Temporary Files");
    EXPECT_EQ(PostedToMainWindow(), (std::vector<TPost>{{base::WM_RUNPROGRESS, 12}, {base::WM_RUNFINISHED, 12}}));
}

TEST_F(ClearTaskThreadTest, ARemovingRunOfTwoItemsWritesCleanLinesAndRunningTotals) {
    auto task = MakeRun(base::rmUnattended, {"Internet Explorer - Cookies", "Windows - Temporary Files"},
                        [](TRunContext& run, const std::string& name) {
                            if (run.IsTestRun()) return;  // the look for what was left
                            if (name == "Internet Explorer - Cookies") {
                                run.AddLogLine(run.LogPrefix + "deleting C:\\a.txt");
                                run.ItemCount = 1;
                                run.ItemBytes = 1536;
                                run.ItemSizeText = base::FormatKilobytes(run.ItemBytes);
                            } else {
                                run.ItemCount = 3;
                            }
                        });
    task->Execute();
    EXPECT_EQ(logBox.Lines(),
              (std::vector<std::string>{
                  "Clean: Clearing Internet Explorer - Cookies ...", "Clean: deleting C:\\a.txt", "",
                  "1 items to be removed; 2 KB to be removed.", "", separator,
                  "Clean: Clearing Windows - Temporary Files ...", "", "3 items to be removed; 0 KB to be removed.", "",
                  separator, "Total items to be removed = 4 ; Total files to be removed = 2 KB", separator}));
    EXPECT_EQ(PostedToMainWindow(), (std::vector<TPost>{{base::WM_RUNPROGRESS, 1},
                                                        {base::WM_RUNPROGRESS, 4},
                                                        {base::WM_RUNFINISHED, 4}}));
    EXPECT_EQ(task->TotalItems, 4);
    EXPECT_EQ(task->TotalBytes, 1536u);
    EXPECT_EQ(logBox.Scrolls(), 2);
}

TEST_F(ClearTaskThreadTest, EachItemStartsWithFreshCounters) {
    sim.system().SetTickMs(1000);
    std::vector<std::string> seen;
    auto task = MakeRun(base::rmTest, {"A - 1", "A - 2"}, [&](TRunContext& run, const std::string& name) {
        seen.push_back(std::to_string(run.ItemCount) + "|" + run.ItemSizeText + "|" + std::to_string(run.ItemBytes) +
                       "|" + run.ItemFolder + "|" + std::to_string(run.LogLineCounter) + "|" +
                       std::to_string(run.LastProgressTime));
        if (name == "A - 1") {
            run.ItemCount = 5;
            run.ItemSizeText = "7";
            run.ItemBytes = 7000;
            run.ItemFolder = "C:\\Temp\\";
            run.LogLineCounter = 9;
            run.LastProgressTime = 0;
            sim.system().AdvanceMs(5000);
        }
    });
    task->Execute();
    EXPECT_EQ(seen, (std::vector<std::string>{"0|0|0||0|1000", "0|0|0||0|6000"}));
}

TEST_F(ClearTaskThreadTest, CancellingDuringTheFirstItemEndsItWithoutTotalsOrFinish) {
    int secondRan = 0;
    auto task = MakeRun(base::rmTest, {"A - 1", "A - 2"}, [&](TRunContext& run, const std::string& name) {
        if (name == "A - 1") {
            run.ItemCount = 2;
            run.Terminate();
        } else {
            ++secondRan;
        }
    });
    task->Execute();
    EXPECT_EQ(secondRan, 0);
    EXPECT_EQ(logBox.Lines(), (std::vector<std::string>{"Test: Clearing A - 1 ...", "",
                                                     "2 items will be removed; 0 KB will be removed.", ""}));
    EXPECT_EQ(PostedToMainWindow(), (std::vector<TPost>{{base::WM_RUNPROGRESS, 2}}));
    EXPECT_TRUE(task->Finished());
    EXPECT_FALSE(task->Aborted());
}

TEST_F(ClearTaskThreadTest, AnExceptionInACleanerEndsTheRunAndPostsRunAborted) {
    std::vector<std::string> ran;
    auto task = MakeRun(base::rmTest, {"A - 1", "A - 2", "A - 3"}, [&](TRunContext& run, const std::string& name) {
        ran.push_back(name);
        run.ItemCount = 1;
        if (name == "A - 2") throw std::runtime_error("database is locked");
    });
    task->Execute();
    EXPECT_EQ(ran, (std::vector<std::string>{"A - 1", "A - 2"}));
    EXPECT_EQ(logBox.Lines(), (std::vector<std::string>{"Test: Clearing A - 1 ...", "",
                                                     "1 items will be removed; 0 KB will be removed.", "", separator,
                                                     "Test: Clearing A - 2 ..."}));
    EXPECT_EQ(PostedToMainWindow(), (std::vector<TPost>{{base::WM_RUNPROGRESS, 1}, {base::WM_RUNABORTED, 1}}));
    EXPECT_TRUE(task->Aborted());
    EXPECT_EQ(task->AbortReason(), "database is locked");
    EXPECT_TRUE(task->Finished());
}

TEST_F(ClearTaskThreadTest, OnItsOwnThreadItemsBeginAndEndOnTheWindowThread) {
    std::vector<TPost> delivered;
    sim.desktop().SetHandler(mainWindow, [&](uint32_t message, uintptr_t wParam, intptr_t) {
        delivered.push_back({message, wParam});
    });
    std::thread::id cleanerThread;
    auto task = MakeRun(base::rmTest, {"A - 1", "A - 2"}, [&](TRunContext& run, const std::string&) {
        cleanerThread = std::this_thread::get_id();
        run.ItemCount = 1;
    });
    task->Start();
    ASSERT_TRUE(sim.queue().PumpUntil([&] { return task->Finished(); }, 10000));
    task->WaitFor();
    sim.queue().Pump();

    const auto windowThread = std::this_thread::get_id();
    EXPECT_NE(cleanerThread, windowThread);
    auto lines = logBox.Lines();
    auto threads = logBox.Threads();
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(threads[0], cleanerThread);  // header, from the run thread
    EXPECT_EQ(threads[2], windowThread);   // summary, from EndItem
    EXPECT_EQ(threads[4], cleanerThread);  // separator
    EXPECT_EQ(threads[10], cleanerThread); // totals
    EXPECT_EQ(delivered, (std::vector<TPost>{{base::WM_RUNPROGRESS, 1},
                                             {base::WM_RUNPROGRESS, 2},
                                             {base::WM_RUNFINISHED, 2}}));
}

TEST_F(ClearTaskThreadTest, ResultVerbAndPrefixFollowTheMode) {
    TClearTaskThread test(sim.Machine(), base::rmTest, mainWindow, logBox, {});
    TClearTaskThread clean(sim.Machine(), base::rmClean, mainWindow, logBox, {});
    EXPECT_TRUE(test.IsTestRun());
    EXPECT_EQ(test.ResultVerb, "will be removed");
    EXPECT_EQ(test.LogPrefix, "Test: ");
    EXPECT_FALSE(clean.IsTestRun());
    EXPECT_EQ(clean.ResultVerb, "to be removed");
    EXPECT_EQ(clean.LogPrefix, "Clean: ");
}
