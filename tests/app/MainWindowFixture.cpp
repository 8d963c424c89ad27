#include "MainWindowFixture.h"

#include <chrono>
#include <stdexcept>

#include "settings/OptionsSetting.h"

namespace nullvane::app::testing {

using namespace std::chrono_literals;

ui::headless::THeadlessHost HostOf(platform::sim::SimMachine& sim) {
    ui::headless::THeadlessHost host;
    host.registerWindow = [&sim](const std::string& className, ui::headless::TMessageHandler handler) {
        return sim.desktop().RegisterWindow(className, std::move(handler));
    };
    host.unregisterWindow = [&sim](platform::WindowId window) { sim.desktop().DestroyWindow(window); };
    host.pumpUntil = [&sim](const std::function<bool()>& done, int timeoutMs) {
        return sim.queue().PumpUntil(done, timeoutMs);
    };
    return host;
}

std::string JunkFolder(const std::string& itemName) { return "C:\\Junk\\" + itemName + "\\"; }

void TJunkCleaner::operator()(base::TRunContext& run, const std::string& itemName) {
    {
        std::unique_lock lock(mutex_);
        calls_.push_back({itemName, run.Mode()});
        if (hold_ && !(holdRemovingOnly_ && run.IsTestRun())) {
            holding_ = true;
            changed_.notify_all();
            // Cancel is a flag the cleaner polls, as the real ones do.
            const auto giveUp = std::chrono::steady_clock::now() + 10s;
            while (hold_ && !run.Terminated() && std::chrono::steady_clock::now() < giveUp) {
                changed_.wait_for(lock, 5ms);
            }
            holding_ = false;
        }
    }
    if (itemName == ThrowOnItem) throw std::runtime_error("damaged store");
    const std::string folder = JunkFolder(itemName);
    std::vector<std::string> names;
    run.Machine.files.List(folder + "*", [&](const platform::FileEntry& entry) {
        if (!entry.IsDirectory()) names.push_back(entry.name);
        return true;
    });
    for (const auto& name : names) {
        if (run.Terminated()) break;
        if (itemName == InUseOnItem && name == names.front()) {
            if (!run.IsTestRun()) {
                run.ReportFileInUse(folder + name);
                continue;
            }
        }
        if (!run.IsTestRun() && !run.Machine.files.RemoveFile(folder + name)) continue;
        ++run.ItemCount;
        if (!run.FastScan()) run.AddLogLine(run.LogPrefix + "deleting " + folder + name);
    }
}

std::vector<TJunkCleaner::TCall> TJunkCleaner::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void TJunkCleaner::HoldItems() {
    std::lock_guard lock(mutex_);
    hold_ = true;
}

void TJunkCleaner::HoldRemovingItems() {
    std::lock_guard lock(mutex_);
    hold_ = true;
    holdRemovingOnly_ = true;
}

void TJunkCleaner::Release() {
    std::lock_guard lock(mutex_);
    hold_ = false;
    holdRemovingOnly_ = false;
    changed_.notify_all();
}

bool TJunkCleaner::Holding() const {
    std::lock_guard lock(mutex_);
    return holding_;
}

MainWindowTest::MainWindowTest() : controls(HostOf(sim)) { settings::CurrentOptions = settings::TOptionsSetting{}; }

MainWindowTest::~MainWindowTest() {
    cleaner->Release();
    main.reset();
    settings::CurrentOptions = settings::TOptionsSetting{};
}

TfrmMain& MainWindowTest::Open(TStartSwitch startSwitch) {
    main = std::make_unique<TfrmMain>(sim.Machine(), controls, startSwitch);
    auto junk = cleaner;
    main->Runs.Dispatcher = [junk](base::TRunContext& run, const std::string& item) { (*junk)(run, item); };
    main->Show();
    return *main;
}

ui::headless::THeadlessForm& MainWindowTest::Form() { return dynamic_cast<ui::headless::THeadlessForm&>(*main->Form); }

ui::headless::THeadlessTreeView& MainWindowTest::TreeView() {
    return dynamic_cast<ui::headless::THeadlessTreeView&>(*main->tvCleanItems);
}

ui::headless::THeadlessListBox& MainWindowTest::Log() {
    return dynamic_cast<ui::headless::THeadlessListBox&>(*main->lMain);
}

ui::headless::THeadlessButton& MainWindowTest::Button(ui::TButton& button) {
    return dynamic_cast<ui::headless::THeadlessButton&>(button);
}

void MainWindowTest::ClickTick(const std::string& name) {
    auto index = main->Tree.FindItem(name);
    if (!index) index = main->Tree.FindCategory(name);
    ASSERT_TRUE(index.has_value()) << name;
    auto& tree = TreeView();
    const ui::TNodeId node = main->ViewNode(*index);
    if (auto parent = main->Tree.ParentOf(*index)) tree.SetExpanded(main->ViewNode(*parent), true);
    tree.ScrollTo(0);
    tree.FireMouseDown(ui::TMouseButton::Left, tree.StateImagePoint(node));
}

void MainWindowTest::MakeJunk(const std::string& itemName, int files) {
    for (int i = 0; i < files; ++i) sim.MakeFile(JunkFolder(itemName) + "trace" + std::to_string(i) + ".tmp", "xyz");
}

int MainWindowTest::JunkLeft(const std::string& itemName) {
    int count = 0;
    sim.files().List(JunkFolder(itemName) + "*", [&](const platform::FileEntry& entry) {
        if (!entry.IsDirectory()) ++count;
        return true;
    });
    return count;
}

bool MainWindowTest::Pump(const std::function<bool()>& done, int timeoutMs) {
    return sim.queue().PumpUntil(done, timeoutMs);
}

std::vector<std::string> MainWindowTest::AskedTexts() const {
    std::vector<std::string> texts;
    for (const auto& asked : const_cast<platform::sim::SimMachine&>(sim).dialogs().Asked()) texts.push_back(asked.text);
    return texts;
}

}  // namespace nullvane::app::testing
