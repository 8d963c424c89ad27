// What a Clean left: the quiet Test after the removing pass finds the files
// still there and gives each the reason the Clean met, or "reappeared".
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "base/Texts.h"
#include "platform/sim/SimMachine.h"
#include "removal/FileRemoval.h"
#include "run/ClearTaskThread.h"
#include "run/RecordingLogSink.h"
#include "support/JumpListFiles.h"

using namespace nullvane;
using base::TRunContext;
using ::testing::Contains;

namespace {

class LeftAfterCleanTest : public ::testing::Test {
protected:
    // "A - Temp" walks C:\T and, in the Clean, a program writes again.tmp
    // right after; "A - Thumbs" schedules held files; "A - Kept" keeps
    // pinned.dat by a rule; "A - Done" removes everything.
    void Cleaner(TRunContext& run, const std::string& name) {
        if (name == "A - Temp") {
            removal::CleanFolder(run, "C:\\T", {.logIt = false});
            if (!run.IsTestRun()) sim.MakeFile("C:\\T\\again.tmp", "xx");
        } else if (name == "A - Thumbs") {
            removal::CleanFolder(run, "C:\\Th", {.logIt = false, .scheduleHeld = true});
        } else if (name == "A - Kept") {
            removal::CleanFolder(run, "C:\\K", {.logIt = false, .eachFile = [&](const removal::TWalkFile& file) {
                                                     if (file.entry.name != "pinned.dat")
                                                         return removal::TFileVerdict::fvTake;
                                                     run.NoteKept(file.path, base::texts::kReasonPinned);
                                                     return removal::TFileVerdict::fvKeep;
                                                 }});
        } else {
            removal::CleanFolder(run, "C:\\D", {.logIt = false});
        }
    }

    std::unique_ptr<run::TClearTaskThread> MakeRun(std::vector<std::string> names) {
        auto task = std::make_unique<run::TClearTaskThread>(sim.Machine(), base::rmUnattended, 0, logBox,
                                                            std::move(names));
        task->Dispatch = [this](TRunContext& run, const std::string& name) { Cleaner(run, name); };
        return task;
    }

    // The log from the totals' closing separator on.
    std::vector<std::string> AfterTotals() {
        const auto lines = logBox.Lines();
        auto totals = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& line) { return line.rfind("Total items", 0) == 0; });
        return totals == lines.end() ? std::vector<std::string>{} : std::vector<std::string>(totals + 2, lines.end());
    }

    platform::sim::SimMachine sim;
    nullvane::testing::TRecordingLogSink logBox;
    const std::string separator = std::string(107, '-');
};

}  // namespace

TEST_F(LeftAfterCleanTest, EachItemWithFilesLeftGetsABlockWithTheReasonTheCleanMetAndOnlyTheseAreErrors) {
    for (int i = 0; i < 22; ++i) {
        const std::string path = "C:\\T\\held" + std::to_string(i) + ".tmp";
        sim.MakeFile(path, std::string(1024, 'h'));
        sim.files().SetInUse(path);
    }
    sim.MakeFile("C:\\T\\gone.tmp", "g");
    sim.MakeFile("C:\\Th\\thumbcache_96.db", "t");
    sim.files().SetInUse("C:\\Th\\thumbcache_96.db");
    sim.MakeFile("C:\\K\\pinned.dat", "p");
    sim.MakeFile("C:\\K\\loose.dat", "l");
    sim.MakeFile("C:\\D\\done.tmp", "d");

    auto task = MakeRun({"A - Temp", "A - Thumbs", "A - Kept", "A - Done"});
    task->Execute();
    const auto after = AfterTotals();
    ASSERT_GE(after.size(), 2u + 20 + 1 + 3 + 1 + 3 + 1);
    // 22 held and one written again, of which the first 20 are named.
    EXPECT_EQ(after[0], "A - Temp");
    EXPECT_EQ(after[1], "Left after the Clean: 23 entries; 23 KB");
    const std::vector<std::string> named(after.begin() + 2, after.begin() + 22);
    EXPECT_EQ(std::count_if(named.begin(), named.end(),
                            [](const std::string& line) {
                                return line.rfind("C:\\T\\held", 0) == 0 &&
                                       line.ends_with(".tmp: in use by another program");
                            }) +
                  std::count(named.begin(), named.end(), "C:\\T\\again.tmp: reappeared"),
              20);
    EXPECT_EQ(std::vector<std::string>(after.begin() + 22, after.end()),
              (std::vector<std::string>{"", "A - Thumbs", "Left after the Clean: 1 entries; 1 KB",
                                        "C:\\Th\\thumbcache_96.db: will be removed at the next restart", "",
                                        "A - Kept", "Left after the Clean: 1 entries; 0 KB",
                                        "C:\\K\\pinned.dat: kept: holds pinned items", separator}));
    EXPECT_EQ(task->LeftEntries, 23);
    EXPECT_TRUE(task->FinishedWithErrors());
    EXPECT_FALSE(sim.files().Exists("C:\\K\\loose.dat"));
    EXPECT_FALSE(sim.files().Exists("C:\\D\\done.tmp"));
}

TEST_F(LeftAfterCleanTest, KeptAndScheduledFilesAreReportedWithoutMakingTheRunFail) {
    sim.MakeFile("C:\\Th\\thumbcache_32.db", "t");
    sim.files().SetInUse("C:\\Th\\thumbcache_32.db");
    sim.MakeFile("C:\\K\\pinned.dat", "p");
    auto task = MakeRun({"A - Thumbs", "A - Kept"});
    task->Execute();
    EXPECT_THAT(logBox.Lines(), Contains("C:\\Th\\thumbcache_32.db: will be removed at the next restart"));
    EXPECT_THAT(logBox.Lines(), Contains("C:\\K\\pinned.dat: kept: holds pinned items"));
    EXPECT_EQ(task->LeftEntries, 0);
    EXPECT_FALSE(task->FinishedWithErrors());
}

TEST_F(LeftAfterCleanTest, ACleanCancelledBeforeOrDuringItsLookForWhatWasLeftReportsNothing) {
    sim.MakeFile("C:\\T\\held.tmp", "h");
    sim.files().SetInUse("C:\\T\\held.tmp");
    auto task = MakeRun({"A - Temp"});
    task->Dispatch = [&](TRunContext& run, const std::string& name) {
        // The cancel comes while the Test looks.
        if (run.IsTestRun()) task->Terminate();
        Cleaner(run, name);
    };
    task->Execute();
    for (const auto& line : logBox.Lines()) EXPECT_EQ(line.find("Left after the Clean"), std::string::npos) << line;
    EXPECT_EQ(task->LeftEntries, 0);
    EXPECT_FALSE(task->EndPosted()) << "a cancelled run ends as cancelled";
}

TEST_F(LeftAfterCleanTest, TheWindowsItemsReportAPinnedJumpListAndAHeldThumbnailCacheAsLeftWithoutError) {
    const std::string recent = "C:\\Users\\Test\\AppData\\Roaming\\Microsoft\\Windows\\Recent\\AutomaticDestinations\\";
    const std::string explorer = "C:\\Users\\Test\\AppData\\Local\\Microsoft\\Windows\\Explorer\\";
    sim.MakeFile(recent + "1a2b.automaticDestinations-ms",
                 nullvane::testing::MakeAutomaticJumpList(4, {{"C:\\done.txt", false}}));
    sim.MakeFile(recent + "f01b.automaticDestinations-ms",
                 nullvane::testing::MakeAutomaticJumpList(4, {{"C:\\Projects", true}}));
    sim.MakeFile(explorer + "thumbcache_256.db", "thumbs");
    sim.files().SetInUse(explorer + "thumbcache_256.db");
    // The program's own dispatch table.
    run::TClearTaskThread task(sim.Machine(), base::rmUnattended, 0, logBox,
                               {"Windows - Jump Lists", "Windows - Thumbnail Cache"});
    task.Execute();
    EXPECT_THAT(AfterTotals(), ::testing::ElementsAre("Windows - Jump Lists", "Left after the Clean: 1 entries; 0 KB",
                                                      recent + "f01b.automaticDestinations-ms: kept: holds pinned items",
                                                      "", "Windows - Thumbnail Cache",
                                                      "Left after the Clean: 1 entries; 1 KB",
                                                      explorer + "thumbcache_256.db: will be removed at the next restart",
                                                      separator));
    EXPECT_FALSE(sim.files().Exists(recent + "1a2b.automaticDestinations-ms"));
    EXPECT_EQ(task.LeftEntries, 0);
    EXPECT_FALSE(task.FinishedWithErrors());
}
