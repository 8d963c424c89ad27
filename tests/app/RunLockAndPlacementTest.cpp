// The main window as one of the user's programs: only one run that removes at
// a time across them, and a saved placement that always ends up visible.
#include <mutex>
#include <utility>

#include "MainWindowFixture.h"
#include "app/WindowTexts.h"
#include "run/RemovingRunLock.h"
#include "base/Texts.h"
#include "settings/OptionsFile.h"
#include "settings/OptionsSetting.h"

namespace nullvane::app::testing {
namespace {

using settings::CurrentOptions;

constexpr char kTempFiles[] = "Windows - Temporary Files";

class RemovingRunLockTest : public MainWindowTest {
protected:
    bool Held() { return sim.locks().IsHeld(run::kRemovingRunLockName); }
};

TEST_F(RemovingRunLockTest, ACleanWhileAnotherProgramRemovesWaitsThenRefusesButATestStillRuns) {
    auto& main = Open();
    MakeJunk(kTempFiles, 3);
    ClickTick(kTempFiles);
    CurrentOptions.AskForSweep = false;
    sim.locks().HoldElsewhere(run::kRemovingRunLockName);

    Button(*main.bClean).Click();
    ASSERT_EQ(AskedTexts(), (std::vector<std::string>{base::texts::kAnotherRunRemoving}));
    EXPECT_EQ(sim.dialogs().Asked()[0].flags, platform::mbOk | platform::mbIconInformation);
    EXPECT_EQ(sim.locks().Waits(), (std::vector<int>{5000}));
    EXPECT_TRUE(main.Runs.Idle());
    EXPECT_EQ(main.bTest->Caption(), "Test");
    EXPECT_TRUE(cleaner->Calls().empty()) << "not even the pre-scan starts";

    // An unattended clean is refused the same way.
    sim.desktop().PostToWindow(main.Form->Handle(), base::WM_AUTOCLEAN, 0, 0);
    sim.queue().Pump();
    EXPECT_EQ(sim.dialogs().AskedCount(), 2u);
    EXPECT_TRUE(main.Runs.Idle());

    Button(*main.bTest).Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(cleaner->Calls().size(), 1u);
    EXPECT_EQ(JunkLeft(kTempFiles), 3);

    // The other program ends within the wait: the Clean goes ahead.
    sim.locks().OnWaitElsewhere = [this](const std::string& name, int) { sim.locks().ReleaseElsewhere(name); };
    Button(*main.bClean).Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(JunkLeft(kTempFiles), 0);
}

TEST_F(RemovingRunLockTest, TheWindowHoldsTheLockFromItsPreScanToTheEndOfItsRemovingPass) {
    auto& main = Open();
    MakeJunk(kTempFiles, 2);
    ClickTick(kTempFiles);
    CurrentOptions.AskForSweep = false;
    // Whether the lock is held as each cleaner call starts.
    std::mutex mutex;
    std::vector<std::pair<base::TRunMode, bool>> seen;
    main.Runs.Dispatcher = [&, junk = cleaner](base::TRunContext& run, const std::string& item) {
        {
            std::lock_guard lock(mutex);
            seen.emplace_back(run.Mode(), Held());
        }
        (*junk)(run, item);
    };

    Button(*main.bTest).Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    Button(*main.bClean).Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_FALSE(Held()) << "let go at the end";
    {
        std::lock_guard lock(mutex);
        // The Test takes none; the pre-scan, the removing pass and its look
        // for what it left hold it.
        EXPECT_EQ(seen, (std::vector<std::pair<base::TRunMode, bool>>{
                            {base::rmTest, false}, {base::rmTest, true}, {base::rmClean, true}, {base::rmTest, true}}));
    }
    EXPECT_EQ(JunkLeft(kTempFiles), 0);

    // A cancelled Clean lets go too.
    cleaner->HoldItems();
    Button(*main.bClean).Click();
    ASSERT_TRUE(PumpUntilHeld());
    EXPECT_TRUE(Held());
    Button(*main.bTest).Click();
    EXPECT_FALSE(Held());
}

TEST_F(RemovingRunLockTest, ARunEndedByAnErrorLetsGo) {
    auto& main = Open();
    ClickTick(kTempFiles);
    CurrentOptions.AskForSweep = false;
    sim.desktop().PostToWindow(main.Form->Handle(), base::WM_AUTOCLEAN, 0, 0);
    cleaner->ThrowOnItem = kTempFiles;
    ASSERT_TRUE(Pump([&] { return main.pbProgress->Caption() == texts::kRunStopped; }));
    EXPECT_TRUE(main.Runs.Idle());
    EXPECT_FALSE(Held());
}

// ---- placement ----

class PlacementTest : public MainWindowTest {
protected:
    void SaveWindow(const std::string& left, const std::string& top, const std::string& width,
                    const std::string& height) {
        const std::string path = settings::OptionsFilePath(sim.Machine());
        ASSERT_TRUE(sim.profiles().WriteString(path, "Window", "Left", left));
        ASSERT_TRUE(sim.profiles().WriteString(path, "Window", "Top", top));
        ASSERT_TRUE(sim.profiles().WriteString(path, "Window", "Width", width));
        ASSERT_TRUE(sim.profiles().WriteString(path, "Window", "Height", height));
    }
    std::string Saved(const std::string& key) {
        return sim.profiles().GetString(settings::OptionsFilePath(sim.Machine()), "Window", key, "");
    }
};

TEST_F(PlacementTest, AWindowSavedFarOffTheScreenOpensCentredAndIsSavedSo) {
    SaveWindow("-32768", "32767", "704", "507");
    auto& main = Open();
    EXPECT_EQ(main.Form->Bounds(), (ui::TRect{(1280 - 704) / 2, (1024 - 507) / 2, 704, 507}));
    main.Close();
    EXPECT_EQ(Saved("Left"), std::to_string((1280 - 704) / 2));
    EXPECT_EQ(Saved("Top"), std::to_string((1024 - 507) / 2));
}

}  // namespace
}  // namespace nullvane::app::testing
