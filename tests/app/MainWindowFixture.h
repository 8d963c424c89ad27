#pragma once
// A main window on the simulated machine with headless controls, and a
// stand-in cleaner that finds (Test) or removes (any other run) the files of
// C:\Junk\<item name>\, so runs change real files.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "platform/sim/SimMachine.h"
#include "ui/headless/HeadlessFactory.h"

namespace nullvane::app::testing {

ui::headless::THeadlessHost HostOf(platform::sim::SimMachine& sim);

[[nodiscard]] std::string JunkFolder(const std::string& itemName);

// The stand-in cleaner. It can be held at the start of an item until the
// test lets it go (or the run is cancelled).
class TJunkCleaner {
public:
    void operator()(base::TRunContext& run, const std::string& itemName);

    struct TCall {
        std::string item;
        base::TRunMode mode;
    };
    [[nodiscard]] std::vector<TCall> Calls() const;
    void HoldItems();
    // Holds only the items of a removing run, so a test set up before the
    // run starts cannot miss the removing pass's first item.
    void HoldRemovingItems();
    void Release();
    [[nodiscard]] bool Holding() const;
    std::string ThrowOnItem;
    // Its first file is held by another program: left and reported.
    std::string InUseOnItem;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<TCall> calls_;
    bool hold_ = false;
    bool holdRemovingOnly_ = false;
    bool holding_ = false;
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    TfrmMain& Open(TStartSwitch startSwitch = TStartSwitch::None);
    ui::headless::THeadlessForm& Form();
    ui::headless::THeadlessTreeView& TreeView();
    ui::headless::THeadlessListBox& Log();
    ui::headless::THeadlessButton& Button(ui::TButton& button);
    // The user clicks the tick box of a category ("Windows") or an item ("Windows - Clipboard").
    void ClickTick(const std::string& name);
    void MakeJunk(const std::string& itemName, int files);
    [[nodiscard]] int JunkLeft(const std::string& itemName);
    bool Pump(const std::function<bool()>& done, int timeoutMs = 10000);
    // Pumps until the stand-in cleaner holds an item.
    bool PumpUntilHeld() { return Pump([&] { return cleaner->Holding(); }); }
    [[nodiscard]] std::vector<std::string> AskedTexts() const;

    platform::sim::SimMachine sim;
    ui::headless::THeadlessFactory controls;
    std::shared_ptr<TJunkCleaner> cleaner = std::make_shared<TJunkCleaner>();
    std::unique_ptr<TfrmMain> main;
};

}  // namespace nullvane::app::testing
