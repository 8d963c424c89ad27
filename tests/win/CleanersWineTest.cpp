// The Windows cleaners and the data-driven runner on real Win32 under Wine.
#include "platform/win32/Win32Machine.h"
#include "platform/sim/SimDialogs.h"
#include "cleaners/Cleaners.h"
#include "customlists/CustomList.h"
#include "customlists/RunDataSection.h"
#include "platform/win32/WideText.h"
#include "run/RecordingLogSink.h"
#include "settings/OptionsSetting.h"
#include "win/CliProgram.h"
#include "win/WineVersionChild.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

using namespace nullvane;
using platform::win32::Widen;

namespace {

class CleanersWineTest : public ::testing::Test {
protected:
    void SetUp() override { settings::CurrentOptions = settings::TOptionsSetting{}; }
    base::TRunContext& Run(base::TRunMode mode, platform::Platform& on) {
        run_ = std::make_unique<base::TRunContext>(on, mode, 0, log, settings::RunOptionsOf(settings::CurrentOptions));
        run_->LogPrefix = mode == base::rmTest ? "Test: " : "Clean: ";
        return *run_;
    }
    static bool PutTextOnClipboard(const wchar_t* text) {
        if (!OpenClipboard(nullptr)) return false;
        EmptyClipboard();
        size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(GlobalLock(memory), text, bytes);
        GlobalUnlock(memory);
        bool put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        CloseClipboard();
        return put;
    }
    static bool ClipboardHasText() {
        if (!OpenClipboard(nullptr)) return false;
        bool has = IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
        CloseClipboard();
        return has;
    }

    platform::win32::Win32Machine machine;
    nullvane::testing::TRecordingLogSink log;
    std::unique_ptr<base::TRunContext> run_;
};

TEST_F(CleanersWineTest, ClipboardKeepsItsTextInATestAndLosesItInAClean) {
    ASSERT_TRUE(PutTextOnClipboard(L"private words"));
    cleaners::CleanClipboard(Run(base::rmTest, machine.Machine()));
    EXPECT_TRUE(ClipboardHasText());
    cleaners::CleanClipboard(Run(base::rmClean, machine.Machine()));
    EXPECT_FALSE(ClipboardHasText());
}

TEST_F(CleanersWineTest, RecycleBinIsEmptiedThroughTheShell) {
    std::string file = machine.system().TempFolder() + "nullvane-recycled-" + std::to_string(GetCurrentProcessId()) + ".txt";
    ASSERT_TRUE(machine.files().WriteAll(file, "thrown away"));
    std::wstring from = Widen(file);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW toBin{};
    toBin.wFunc = FO_DELETE;
    toBin.pFrom = from.c_str();
    toBin.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
    ASSERT_EQ(SHFileOperationW(&toBin), 0);
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    ASSERT_EQ(SHQueryRecycleBinW(nullptr, &info), S_OK);
    ASSERT_GT(info.i64NumItems, 0);

    cleaners::CleanRecycleBin(Run(base::rmTest, machine.Machine()));
    ASSERT_EQ(SHQueryRecycleBinW(nullptr, &info), S_OK);
    EXPECT_GT(info.i64NumItems, 0);  // a Test leaves the bin alone

    cleaners::CleanRecycleBin(Run(base::rmClean, machine.Machine()));
    ASSERT_EQ(SHQueryRecycleBinW(nullptr, &info), S_OK);
    EXPECT_EQ(info.i64NumItems, 0);
}

// The real machine with a user who is no administrator: Wine runs every
// program as one, so the rule for machine-wide values needs this twin.
class TNonAdministrator final : public platform::SystemInfo {
public:
    explicit TNonAdministrator(platform::SystemInfo& real) : real_(real) {}
    std::string WindowsFolder() override { return real_.WindowsFolder(); }
    std::string SystemFolder() override { return real_.SystemFolder(); }
    std::string TempFolder() override { return real_.TempFolder(); }
    std::string SpecialFolder(int csidl) override { return real_.SpecialFolder(csidl); }
    std::string ProgramFolder() override { return real_.ProgramFolder(); }
    platform::WindowsVersion Version() override { return real_.Version(); }
    bool IsAdministrator() override { return false; }
    platform::DriveType DriveTypeOf(const std::string& root) override { return real_.DriveTypeOf(root); }
    int ScreenWidth() override { return real_.ScreenWidth(); }
    int ScreenHeight() override { return real_.ScreenHeight(); }
    int64_t TickMs() override { return real_.TickMs(); }
    platform::LocalTime Now() override { return real_.Now(); }
    uint32_t Random(uint32_t range) override { return real_.Random(range); }
    void Randomize() override { real_.Randomize(); }
    bool StartHiddenProcess(const std::string& application, const std::string& commandLine) override {
        return real_.StartHiddenProcess(application, commandLine);
    }

private:
    platform::SystemInfo& real_;
};

// Run in a child process whose Windows version Wine sets per program.
TEST(DataSectionVersionProbe, MachineValueFollowsTheVersionRule) {
    const char* expectRemoved = std::getenv("NULLVANE_EXPECT_REMOVED");
    if (!expectRemoved) GTEST_SKIP() << "started only by DataSectionVersionRule";
    settings::CurrentOptions = settings::TOptionsSetting{};
    platform::win32::Win32Machine real;
    TNonAdministrator system(real.system());
    platform::sim::SimDialogs dialogs;
    platform::Platform machine{real.files(), real.registry(), real.profiles(), system, dialogs, real.desktop(), real.ui(),
                               real.locks(), real.internet(), real.protectedStorage()};
    const std::string key = "Software\\NullvaneVersionRule";
    auto handle = real.registry().CreateKey(platform::RegRoot::LocalMachine, key);
    ASSERT_TRUE(handle && handle->SetValue(platform::RegValue::String("Path", "x")));
    ASSERT_TRUE(real.files().WriteAll(real.system().ProgramFolder() + "VersionRule.dat",
                                      "[Rule]\r\nDelRegValue1=HKEY_LOCAL_MACHINE\\" + key + ",Path\r\n"));
    nullvane::testing::TRecordingLogSink log;
    base::TRunContext run(machine, base::rmClean, 0, log);
    customlists::RunDataSection(run, "VersionRule.dat", "Applications - Rule");
    bool removed = !real.registry().ReadValue(platform::RegRoot::LocalMachine, key, "Path");
    EXPECT_EQ(removed, std::string(expectRemoved) == "1");
    EXPECT_EQ(dialogs.AskedCount(), removed ? 0u : 1u);
    real.files().RemoveFile(real.system().ProgramFolder() + "VersionRule.dat");
    handle.Value().reset();
    real.registry().DeleteKey(platform::RegRoot::LocalMachine, key);
}

TEST(DataSectionVersionRule, NinetyFiveFamilyRemovesMachineValuesWithoutAdministratorRights) {
    for (auto [version, removed] : {std::pair{L"win98", L"1"}, std::pair{L"winxp", L"0"}}) {
        EXPECT_EQ(nullvane::testing::RunSelfAsWineVersion(
                      version, L"DataSectionVersionProbe.MachineValueFollowsTheVersionRule", L"NULLVANE_EXPECT_REMOVED",
                      removed),
                  0u)
            << "Wine version " << platform::win32::Narrow(version);
    }
}

TEST(CustomListThroughTheCli, CleanRemovesWhatTheListNames) {
    platform::win32::Win32Machine machine;
    std::string folder = machine.system().TempFolder() + "nullvane-list-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(machine.files().MakeFolders(folder + "\\Sub"));
    ASSERT_TRUE(machine.files().WriteAll(folder + "\\a.log", "12345"));
    ASSERT_TRUE(machine.files().WriteAll(folder + "\\Sub\\b.log", "1"));
    std::string list = machine.system().ProgramFolder() + "Clist.dat";
    auto saved = machine.files().ReadAll(list);
    ASSERT_TRUE(machine.files().WriteAll(list, "[<New List>]\r\nDelFile1=" + folder + "\r\n"));

    auto preview = nullvane::testing::RunCliProgram("--preview \"Custom Lists - <New List>\"");
    EXPECT_EQ(preview.Status, 0) << preview.Err;
    ASSERT_GE(preview.Out.size(), 3u);
    EXPECT_EQ(preview.Out[2], "2 items will be removed; 1 KB will be removed.");
    EXPECT_TRUE(machine.files().Exists(folder + "\\a.log"));

    auto clean = nullvane::testing::RunCliProgram("--clean \"Custom Lists - <New List>\" --yes");
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_FALSE(machine.files().Exists(folder));
    if (saved) {
        machine.files().WriteAll(list, *saved);
    } else {
        machine.files().RemoveFile(list);
    }
}

}  // namespace

namespace {

TEST(CustomListThroughTheCli, AListSavedByTheEditorIsPrintedAndCleaned) {
    platform::win32::Win32Machine machine;
    std::string folder = machine.system().TempFolder() + "nullvane-editor-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(machine.files().MakeFolders(folder));
    ASSERT_TRUE(machine.files().WriteAll(folder + "\\a.log", "log"));
    ASSERT_TRUE(machine.files().WriteAll(folder + "\\keep.txt", "keep"));
    const std::string list = customlists::CustomListPath(machine.Machine());
    auto saved = machine.files().ReadAll(list);
    // Through the system's own profile functions, as the editor's OK writes it.
    ASSERT_TRUE(customlists::WriteCustomList(machine.Machine(), {folder + ",*.log", "HKEY_CURRENT_USER\\Software\\NvReports,"}));

    auto printed = nullvane::testing::RunCliProgram("--custom-list");
    EXPECT_EQ(printed.Status, 0) << printed.Err;
    EXPECT_EQ(printed.Out, (std::vector<std::string>{"DelFile1=" + folder + ",*.log",
                                                      "DelRegValue1=HKEY_CURRENT_USER\\Software\\NvReports,"}));
    auto clean = nullvane::testing::RunCliProgram("--clean --yes \"Custom Lists - <New List>\"");
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_FALSE(machine.files().Exists(folder + "\\a.log"));
    EXPECT_TRUE(machine.files().Exists(folder + "\\keep.txt"));
    (void)machine.files().RemoveFile(folder + "\\keep.txt");
    (void)machine.files().RemoveFolder(folder);
    if (saved) {
        machine.files().WriteAll(list, *saved);
    } else {
        machine.files().RemoveFile(list);
    }
}

}  // namespace
