// The removal operations on real Win32 under Wine: what only the real system shows.
#include "platform/win32/Win32Machine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "platform/win32/WideText.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/RegistryRemoval.h"
#include "run/RecordingLogSink.h"
#include "settings/OptionsSetting.h"
#include "win/WineVersionChild.h"

using namespace nullvane;
using platform::win32::Widen;

namespace {

class RemovalWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings::CurrentOptions = settings::TOptionsSetting{};
        settings::CurrentOptions.FastScan = false;
        folder = machine.system().TempFolder() + "nullvane-removal-" + std::to_string(GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(machine.files().CreateDirectories(folder));
    }
    void TearDown() override {
        int32_t ignored = 0;
        removal::CleanFolder(Run(run::rmClean), folder, true, false, "", ignored);
        settings::CurrentOptions = settings::TOptionsSetting{};
    }
    run::TRunContext& Run(run::TRunMode mode) {
        run_ = std::make_unique<run::TRunContext>(machine.Machine(), mode, 0, log);
        run_->LogPrefix = mode == run::rmTest ? "Test: " : "Clean: ";
        return *run_;
    }
    void MakeFile(const std::string& path, const std::string& content = "data") {
        ASSERT_TRUE(machine.files().WriteAll(path, content));
    }
    // The host's programs, reached without a drive letter.
    inline static const std::string kUnixBin = "\\\\?\\unix\\bin\\";

    // The host path of a path in the prefix.
    static std::string UnixPath(const std::string& windowsPath) {
        using Convert = char*(CDECL*)(const wchar_t*);
        auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (!convert) return {};
        char* converted = convert(Widen(windowsPath).c_str());
        if (!converted) return {};
        std::string result = converted;
        HeapFree(GetProcessHeap(), 0, converted);
        return result;
    }

    // Starts a Unix program from inside Wine and waits for it.
    static bool RunUnix(std::wstring commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return false;
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    // The Unix program may still be at work when Wine reports it ended.
    std::optional<uint32_t> WaitForAttributes(const std::string& path) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (auto attributes = machine.files().GetAttributes(path)) return attributes;
            Sleep(50);
        }
        return std::nullopt;
    }

    platform::win32::Win32Machine machine;
    nullvane::testing::TRecordingLogSink log;
    std::string folder;
    std::unique_ptr<run::TRunContext> run_;
};

TEST_F(RemovalWineTest, ShellDeleteRemovesReadOnlyHiddenAndSystemFiles) {
    for (auto [name, attribute] : {std::pair{"ro.txt", FILE_ATTRIBUTE_READONLY}, std::pair{"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
                                   std::pair{"system.txt", FILE_ATTRIBUTE_SYSTEM}}) {
        std::string path = folder + name;
        MakeFile(path);
        ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), attribute));
        EXPECT_TRUE(removal::EraseFile(Run(run::rmClean), path, true)) << name;
        EXPECT_EQ(GetFileAttributesW(Widen(path).c_str()), INVALID_FILE_ATTRIBUTES) << name;
    }
}

TEST_F(RemovalWineTest, WalkCountsAndRemovesRealFilesAndFolders) {
    MakeFile(folder + "a.tmp", "12345");
    ASSERT_TRUE(machine.files().CreateDirectories(folder + "Sub\\Deeper"));
    MakeFile(folder + "Sub\\Deeper\\b.tmp", "123");
    MakeFile(folder + "Sub\\\xc3\xa9t\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac.tmp", "1");
    int32_t count = 0;
    EXPECT_EQ(removal::CleanFolder(Run(run::rmTest), folder, false, true, "", count), 9u);
    EXPECT_EQ(count, 3);
    count = 0;
    settings::CurrentOptions.OverwriteFile = true;
    settings::CurrentOptions.OverwriteNumber = 2;
    EXPECT_EQ(removal::CleanFolder(Run(run::rmClean), folder, false, true, "", count), 9u);
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(machine.files().Exists(folder + "Sub"));
    EXPECT_TRUE(machine.files().DirectoryExists(folder));
}

TEST_F(RemovalWineTest, DeleteAtRebootIsRecordedWithTheSystem) {
    std::string path = folder + "locked-index.dat";
    MakeFile(path);
    EXPECT_TRUE(removal::DeleteAtReboot(Run(run::rmClean), path));
    auto pending = machine.registry().ReadValue(platform::RegRoot::LocalMachine,
                                                "System\\CurrentControlSet\\Control\\Session Manager",
                                                "PendingFileRenameOperations");
    ASSERT_TRUE(pending);
    std::string names(pending->data.begin(), pending->data.end());
    EXPECT_NE(names.find("locked-index.dat"), std::string::npos);
}

TEST_F(RemovalWineTest, LinkedFolderIsNeitherListedNorEnteredNorEmptied) {
    // Wine shows a Unix symbolic link to a folder as a folder with the
    // reparse-point attribute. The test prefix has no drive for the host's
    // root: the links are made by the host's ln, named by its Unix path.
    std::string unixBase = UnixPath(folder) + "links";
    std::string base = folder + "links\\";
    ASSERT_NE(unixBase, "links");
    ASSERT_TRUE(machine.files().CreateDirectories(base + "Outside"));
    ASSERT_TRUE(machine.files().CreateDirectories(base + "Cleaned"));
    MakeFile(base + "Outside\\precious.doc", "precious");
    MakeFile(base + "Cleaned\\junk.tmp", "junk");
    ASSERT_TRUE(RunUnix(Widen(kUnixBin + "ln -s " + unixBase + "/Outside " + unixBase + "/Cleaned/link")));
    auto linkAttributes = WaitForAttributes(base + "Cleaned\\link");
    ASSERT_TRUE(linkAttributes);
    ASSERT_TRUE(*linkAttributes & platform::faReparsePoint);

    int32_t count = 0;
    removal::CleanFolder(Run(run::rmTest), base + "Cleaned", false, true, "", count);
    EXPECT_EQ(count, 1);
    for (const auto& line : log.Lines()) EXPECT_EQ(line.find("precious"), std::string::npos) << line;

    count = 0;
    removal::CleanFolder(Run(run::rmClean), base + "Cleaned", false, true, "", count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(machine.files().ReadAll(base + "Outside\\precious.doc").value_or(""), "precious");
    EXPECT_TRUE(machine.files().DirectoryExists(base + "Outside"));
    // An empty folder behind a link survives too (Wine removes the target
    // when asked to remove the link, so the link is left in place).
    ASSERT_TRUE(machine.files().CreateDirectories(base + "EmptyOutside"));
    ASSERT_TRUE(RunUnix(Widen(kUnixBin + "ln -s " + unixBase + "/EmptyOutside " + unixBase + "/Cleaned/link2")));
    ASSERT_TRUE(WaitForAttributes(base + "Cleaned\\link2"));
    removal::CleanFolder(Run(run::rmClean), base + "Cleaned", true, true, "", count);
    EXPECT_TRUE(machine.files().DirectoryExists(base + "EmptyOutside"));
    RunUnix(Widen(kUnixBin + "rm -rf " + unixBase));
}

TEST_F(RemovalWineTest, RegistryKeyTreeIsCountedAndRemoved) {
    const std::string key = "Software\\NullvaneRemovalTest";
    auto root = machine.registry().CreateKey(platform::RegRoot::CurrentUser, key + "\\Sub\\Deeper");
    ASSERT_TRUE(root);
    root->SetValue(platform::RegValue::String("deep", "x"));
    auto top = machine.registry().CreateKey(platform::RegRoot::CurrentUser, key);
    top->SetValue(platform::RegValue::Dword("a", 1));
    top->SetValue(platform::RegValue::Binary("b", {1, 2}));
    EXPECT_FALSE(machine.registry().DeleteKey(platform::RegRoot::CurrentUser, key));  // still has subkeys
    EXPECT_EQ(removal::DeleteUserRegistryKey(Run(run::rmTest), key), 3);
    EXPECT_EQ(removal::DeleteUserRegistryKey(Run(run::rmClean), key), 3);
    EXPECT_FALSE(machine.registry().OpenKey(platform::RegRoot::CurrentUser, key, platform::RegAccess::Read));
}

TEST_F(RemovalWineTest, WineRunsAsAdministrator) { EXPECT_TRUE(removal::IsAdministrator(machine.Machine())); }

// Run in a child process whose Windows version Wine sets per program.
TEST(WindowsVersionProbe, ReportsCode) {
    const char* expected = std::getenv("NULLVANE_EXPECT_VERSION_CODE");
    if (!expected) GTEST_SKIP() << "started only by WindowsVersionThroughWine";
    platform::win32::Win32Machine machine;
    EXPECT_EQ(removal::GetWindowsVersionCode(machine.Machine()), std::atoi(expected));
}

TEST(WindowsVersionThroughWine, PerProgramVersionGivesItsCode) {
    for (auto [version, code] : {std::pair{L"win98", 3}, std::pair{L"win2k", 7}, std::pair{L"winxp", 9},
                                 std::pair{L"win8", 11}, std::pair{L"win7", 12}}) {
        EXPECT_EQ(nullvane::testing::RunSelfAsWineVersion(version, L"WindowsVersionProbe.ReportsCode",
                                                          L"NULLVANE_EXPECT_VERSION_CODE", std::to_wstring(code)),
                  0u)
            << "Wine version " << platform::win32::Narrow(version);
    }
}

}  // namespace
