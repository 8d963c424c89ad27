// The traces of Windows 10 and 11 cleaned by nullvane-cli under Wine: jump
// lists written through the system's own structured storage, a thumbnail
// cache held as Explorer holds it, and the keys and folders of the others.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/Text.h"
#include "platform/win32/Win32Machine.h"
#include "platform/win32/WideText.h"
#include "removal/Lookups.h"
#include "support/JumpListFiles.h"
#include "win/CliProgram.h"
#include "win/HostLinks.h"

using namespace nullvane;
using nullvane::testing::MakeDestList;
using nullvane::testing::RunCliProgram;
using platform::win32::Widen;

namespace {

class WindowsTracesWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        local = removal::GetLocalAppDataFolder(machine.Machine());
        roaming = platform::WithTrailingBackslash(machine.system().SpecialFolder(platform::csidlAppData));
        ASSERT_FALSE(local.empty());
        automatic = roaming + "Microsoft\\Windows\\Recent\\AutomaticDestinations\\";
        explorer = local + "Microsoft\\Windows\\Explorer\\";
    }
    void TearDown() override {
        std::error_code ignored;
        for (const std::string& folder : {automatic, explorer, local + "nullvane-outside"})
            std::filesystem::remove_all(std::filesystem::path(Widen(folder)), ignored);
    }
    void Write(const std::string& path, const std::string& text) {
        ASSERT_TRUE(machine.files().MakeFolders(path.substr(0, path.find_last_of('\\'))));
        ASSERT_TRUE(machine.files().WriteAll(path, text));
    }
    // A jump list written by the system's structured storage, as Explorer writes one.
    void WriteJumpList(const std::string& path, const std::string& destList) {
        ASSERT_TRUE(machine.files().MakeFolders(path.substr(0, path.find_last_of('\\'))));
        IStorage* storage = nullptr;
        ASSERT_EQ(StgCreateStorageEx(Widen(path).c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                     STGFMT_STORAGE, 0, nullptr, nullptr, IID_IStorage,
                                     reinterpret_cast<void**>(&storage)),
                  S_OK);
        for (const auto& [name, bytes] : {std::pair<std::wstring, std::string>{L"DestList", destList},
                                          std::pair<std::wstring, std::string>{L"1", "L\x01 a shortcut"}}) {
            IStream* stream = nullptr;
            ASSERT_EQ(storage->CreateStream(name.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream),
                      S_OK);
            ULONG written = 0;
            EXPECT_EQ(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written), S_OK);
            stream->Release();
        }
        storage->Release();
    }
    bool Printed(const nullvane::testing::TCliResult& result, const std::string& text) {
        return std::any_of(result.Out.begin(), result.Out.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
    std::string PendingRenames() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ, &key))
            return {};
        DWORD size = 0;
        std::wstring value;
        if (RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
            value.resize(size / sizeof(wchar_t));
            (void)RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(value.data()), &size);
        }
        RegCloseKey(key);
        std::replace(value.begin(), value.end(), L'\0', L'|');
        return platform::UpperAscii(platform::win32::Narrow(value));
    }

    platform::win32::Win32Machine machine;
    std::string local, roaming, automatic, explorer;
};

TEST_F(WindowsTracesWineTest, AJumpListWithAPinIsKeptAndTheUnpinnedOneIsListedAndCleanedAlone) {
    const std::string pinned = automatic + "f01b4d95cf55d32a.automaticDestinations-ms";
    const std::string unpinned = automatic + "9b9cdc69c1c24e2b.automaticDestinations-ms";
    WriteJumpList(pinned, MakeDestList(4, {{"C:\\Projects", true}, {"C:\\notes.txt", false}}));
    WriteJumpList(unpinned, MakeDestList(4, {{"C:\\secret.txt", false}}));

    auto preview = RunCliProgram("--preview \"Windows - Jump Lists\" --detail");
    ASSERT_EQ(preview.Status, 0) << preview.Err;
    EXPECT_TRUE(Printed(preview, unpinned));
    EXPECT_TRUE(Printed(preview, "kept: holds pinned items: " + pinned));
    EXPECT_TRUE(Printed(preview, "1 items will be removed"));

    auto clean = RunCliProgram("--clean \"Windows - Jump Lists\" --yes");
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_FALSE(machine.files().Exists(unpinned));
    EXPECT_TRUE(machine.files().Exists(pinned));
}

TEST_F(WindowsTracesWineTest, AThumbnailCacheExplorerHoldsIsScheduledForTheRestartButALinkedOneIsLeft) {
    const std::string held = explorer + "thumbcache_256.db";
    const std::string free = explorer + "thumbcache_96.db";
    const std::string outside = local + "nullvane-outside\\picture-copies.db";
    const std::string linked = explorer + "thumbcache_1024.db";
    Write(held, "thumbnails");
    Write(free, "thumbnails");
    Write(explorer + "iconcache_32.db", "icons");
    Write(outside, "not the cache's");
    ASSERT_TRUE(nullvane::testing::MakeHostLink(outside, linked));
    // Held as Explorer holds them: others may read and write, not delete.
    auto hold = [](const std::string& path) {
        return CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    };
    HANDLE heldHandle = hold(held);
    HANDLE outsideHandle = hold(outside);
    ASSERT_NE(heldHandle, INVALID_HANDLE_VALUE);
    ASSERT_NE(outsideHandle, INVALID_HANDLE_VALUE);

    auto clean = RunCliProgram("--clean \"Windows - Thumbnail Cache\" --yes --detail");
    CloseHandle(heldHandle);
    CloseHandle(outsideHandle);
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_TRUE(Printed(clean, "will be removed at the next restart: " + held));
    EXPECT_TRUE(Printed(clean, "of them wait for the next restart"));
    EXPECT_FALSE(machine.files().Exists(free));
    EXPECT_TRUE(machine.files().Exists(explorer + "iconcache_32.db"));
    const std::string pending = PendingRenames();
    EXPECT_NE(pending.find(platform::UpperAscii(held)), std::string::npos) << pending;
    EXPECT_EQ(pending.find("THUMBCACHE_1024"), std::string::npos) << pending;
    EXPECT_EQ(pending.find("PICTURE-COPIES"), std::string::npos) << pending;
    EXPECT_EQ(machine.files().ReadAll(outside).ValueOr(""), "not the cache's");
}

TEST_F(WindowsTracesWineTest, SearchesTypedPathsReportsAndShellHistoriesGoAndTheDnsCacheIsAnswered) {
    const std::wstring explorerKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    for (const wchar_t* name : {L"WordWheelQuery", L"TypedPaths"}) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (explorerKey + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const wchar_t text[] = L"private";
        ASSERT_EQ(RegSetValueExW(key, L"url1", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    const std::string report = local + "Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_editor\\Report.wer";
    const std::string history = roaming + "Microsoft\\Windows\\PowerShell\\PSReadLine\\ConsoleHost_history.txt";
    Write(report, "fragment of a document");
    Write(history, "Set-Secret hunter2");

    auto clean = RunCliProgram(
        "--clean \"Windows - Explorer Search History\" \"Windows - Explorer Typed Paths\" \"Windows - Error Reports\""
        " \"Windows - Shell Histories\" \"Windows - DNS Cache\" --yes");
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    for (const wchar_t* name : {L"WordWheelQuery", L"TypedPaths"}) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (explorerKey + name).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS)
            << "the key stays";
        DWORD values = 99;
        EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                                   nullptr, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(values, 0u);
        RegCloseKey(key);
    }
    EXPECT_FALSE(machine.files().Exists(report));
    EXPECT_TRUE(machine.files().DirectoryExists(local + "Microsoft\\Windows\\WER\\ReportArchive"));
    EXPECT_FALSE(machine.files().Exists(history));
    // Wine's resolver offers the flush, as every Windows since 2000 does.
    EXPECT_FALSE(Printed(clean, "not available on this system"));
}

}  // namespace
