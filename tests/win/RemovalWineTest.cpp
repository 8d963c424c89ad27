// The removal operations on real Win32 under Wine: what only the real system shows.
#include "platform/win32/Win32Machine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
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
#include "win/HostLinks.h"
#include "win/WineVersionChild.h"

using namespace nullvane;
using nullvane::testing::kUnixBin;
using nullvane::testing::RunUnix;
using nullvane::testing::UnixPath;
using platform::win32::Widen;

namespace {

class RemovalWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings::CurrentOptions = settings::TOptionsSetting{};
        settings::CurrentOptions.FastScan = false;
        folder = machine.system().TempFolder() + "nullvane-removal-" + std::to_string(GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(machine.files().MakeFolders(folder));
    }
    void TearDown() override {
        removal::CleanFolder(Run(base::rmClean), folder, {.removeFolder = true, .logIt = false});
        settings::CurrentOptions = settings::TOptionsSetting{};
    }
    base::TRunContext& Run(base::TRunMode mode) {
        run_ = std::make_unique<base::TRunContext>(machine.Machine(), mode, 0, log,
                                                  settings::RunOptionsOf(settings::CurrentOptions));
        run_->LogPrefix = mode == base::rmTest ? "Test: " : "Clean: ";
        return *run_;
    }
    base::TRunContext& LastRun() { return *run_; }
    void MakeFile(const std::string& path, const std::string& content = "data") {
        ASSERT_TRUE(machine.files().WriteAll(path, content));
    }
    // The Unix program may still be at work when Wine reports it ended.
    std::optional<uint32_t> WaitForAttributes(const std::string& path) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (auto attributes = machine.files().GetAttributes(path)) return *attributes;
            Sleep(50);
        }
        return std::nullopt;
    }

    platform::win32::Win32Machine machine;
    nullvane::testing::TRecordingLogSink log;
    std::string folder;
    std::unique_ptr<base::TRunContext> run_;
};

TEST_F(RemovalWineTest, ShellDeleteRemovesReadOnlyHiddenAndSystemFiles) {
    for (auto [name, attribute] : {std::pair{"ro.txt", FILE_ATTRIBUTE_READONLY}, std::pair{"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
                                   std::pair{"system.txt", FILE_ATTRIBUTE_SYSTEM}}) {
        std::string path = folder + name;
        MakeFile(path);
        ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), attribute));
        EXPECT_TRUE(removal::EraseFile(Run(base::rmClean), path, true)) << name;
        EXPECT_EQ(GetFileAttributesW(Widen(path).c_str()), INVALID_FILE_ATTRIBUTES) << name;
    }
}

TEST_F(RemovalWineTest, WalkCountsAndRemovesRealFilesAndFolders) {
    MakeFile(folder + "a.tmp", "12345");
    ASSERT_TRUE(machine.files().MakeFolders(folder + "Sub\\Deeper"));
    MakeFile(folder + "Sub\\Deeper\\b.tmp", "123");
    MakeFile(folder + "Sub\\\xc3\xa9t\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac.tmp", "1");
    int32_t count = 0;
    EXPECT_EQ(removal::CleanFolder(Run(base::rmTest), folder), 9u);
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 3);
    count = 0;
    settings::CurrentOptions.OverwriteFile = true;
    settings::CurrentOptions.OverwriteNumber = 2;
    EXPECT_EQ(removal::CleanFolder(Run(base::rmClean), folder), 9u);
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(machine.files().Exists(folder + "Sub"));
    EXPECT_TRUE(machine.files().DirectoryExists(folder));
}

TEST_F(RemovalWineTest, DeleteAtRebootIsRecordedWithTheSystem) {
    std::string path = folder + "locked-index.dat";
    MakeFile(path);
    EXPECT_EQ(removal::DeleteAtReboot(Run(base::rmClean), path), removal::TRebootDeletion::Scheduled);
    auto pending = machine.registry().ReadValue(platform::RegRoot::LocalMachine,
                                                "System\\CurrentControlSet\\Control\\Session Manager",
                                                "PendingFileRenameOperations");
    ASSERT_TRUE(pending);
    std::string names(pending->data.begin(), pending->data.end());
    EXPECT_NE(names.find("locked-index.dat"), std::string::npos);
}

// At the next start the system deletes what the name then leads to: a link
// to a file elsewhere is never named to it, a plain file beside it is.
TEST_F(RemovalWineTest, DeleteAtRebootNamesAPlainFileButNoLinkToAFileElsewhere) {
    const std::string outside =
        machine.system().TempFolder() + "nullvane-reboot-outside-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(machine.files().MakeFolders(outside));
    MakeFile(outside + "\\precious.dat", "precious");
    const std::string link = folder + "linked-index-" + std::to_string(GetCurrentProcessId()) + ".dat";
    ASSERT_TRUE(RunUnix(Widen(kUnixBin + "ln -s " + UnixPath(outside + "\\precious.dat") + " " + UnixPath(folder) +
                              "/" + link.substr(folder.size()))));
    ASSERT_TRUE(WaitForAttributes(link));
    const std::string plain = folder + "plain-index-" + std::to_string(GetCurrentProcessId()) + ".dat";
    MakeFile(plain);

    auto& run = Run(base::rmClean);
    (void)removal::DeleteAtReboot(run, link);
    (void)removal::DeleteAtReboot(run, plain);
    auto pending = machine.registry().ReadValue(platform::RegRoot::LocalMachine,
                                                "System\\CurrentControlSet\\Control\\Session Manager",
                                                "PendingFileRenameOperations");
    ASSERT_TRUE(pending);
    const std::string names(pending->data.begin(), pending->data.end());
    EXPECT_EQ(names.find(link.substr(folder.size())), std::string::npos);
    EXPECT_EQ(names.find("precious.dat"), std::string::npos);
    EXPECT_NE(names.find(plain.substr(folder.size())), std::string::npos);
    const auto lines = log.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Not scheduled for removal at the next start: the name leads through a link: " + link),
              lines.end());

    RunUnix(Widen(kUnixBin + "rm -f " + UnixPath(folder) + "/" + link.substr(folder.size())));
    removal::CleanFolder(Run(base::rmClean), outside, {.removeFolder = true, .logIt = false});
}

TEST_F(RemovalWineTest, LinkedFolderIsNeitherListedNorEnteredNorEmptied) {
    // Wine shows a Unix symbolic link to a folder as a folder with the
    // reparse-point attribute. The test prefix has no drive for the host's
    // root: the links are made by the host's ln, named by its Unix path.
    std::string unixBase = UnixPath(folder) + "links";
    std::string base = folder + "links\\";
    ASSERT_NE(unixBase, "links");
    ASSERT_TRUE(machine.files().MakeFolders(base + "Outside"));
    ASSERT_TRUE(machine.files().MakeFolders(base + "Cleaned"));
    MakeFile(base + "Outside\\precious.doc", "precious");
    MakeFile(base + "Cleaned\\junk.tmp", "junk");
    ASSERT_TRUE(RunUnix(Widen(kUnixBin + "ln -s " + unixBase + "/Outside " + unixBase + "/Cleaned/link")));
    auto linkAttributes = WaitForAttributes(base + "Cleaned\\link");
    ASSERT_TRUE(linkAttributes);
    ASSERT_TRUE(*linkAttributes & platform::faReparsePoint);

    int32_t count = 0;
    removal::CleanFolder(Run(base::rmTest), base + "Cleaned");
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 1);
    for (const auto& line : log.Lines()) EXPECT_EQ(line.find("precious"), std::string::npos) << line;

    count = 0;
    removal::CleanFolder(Run(base::rmClean), base + "Cleaned");
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 1);
    EXPECT_EQ(machine.files().ReadAll(base + "Outside\\precious.doc").ValueOr(""), "precious");
    EXPECT_TRUE(machine.files().DirectoryExists(base + "Outside"));
    // An empty folder behind a link survives too (Wine removes the target
    // when asked to remove the link, so the link is left in place).
    ASSERT_TRUE(machine.files().MakeFolders(base + "EmptyOutside"));
    ASSERT_TRUE(RunUnix(Widen(kUnixBin + "ln -s " + unixBase + "/EmptyOutside " + unixBase + "/Cleaned/link2")));
    ASSERT_TRUE(WaitForAttributes(base + "Cleaned\\link2"));
    removal::CleanFolder(Run(base::rmClean), base + "Cleaned", {.removeFolder = true});
    count = LastRun().ItemCount;
    EXPECT_TRUE(machine.files().DirectoryExists(base + "EmptyOutside"));
    RunUnix(Widen(kUnixBin + "rm -rf " + unixBase));
}

// Paths the plain W functions cannot reach are made through the long form.
bool MakeLongFormFile(const std::string& path, const std::string& content = "data") {
    HANDLE file = CreateFileW((L"\\\\?\\" + Widen(path)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) != 0;
    CloseHandle(file);
    return ok;
}

bool LongFormExists(const std::string& path) {
    return GetFileAttributesW((L"\\\\?\\" + Widen(path)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(RemovalWineTest, PathsBeyondMaxPathAndNamesEndingInDotOrBlankAreCountedAndRemoved) {
    std::string deep = folder + "Deep";
    while (deep.size() < 560) deep += "\\" + std::string(60, 'd');
    std::string path = deep;
    std::string built;
    for (size_t start = 0; start != std::string::npos;) {
        size_t slash = path.find('\\', start);
        built = path.substr(0, slash);
        CreateDirectoryW((L"\\\\?\\" + Widen(built)).c_str(), nullptr);
        start = slash == std::string::npos ? slash : slash + 1;
    }
    ASSERT_TRUE(MakeLongFormFile(deep + "\\far.tmp", "12345"));
    ASSERT_TRUE(MakeLongFormFile(folder + "ends in dot.", "1"));
    ASSERT_TRUE(MakeLongFormFile(folder + "ends in blank ", "1"));
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + Widen(folder + "dotted.")).c_str(), nullptr));
    ASSERT_TRUE(MakeLongFormFile(folder + "dotted.\\inside.tmp", "1"));
    MakeFile(folder + "ro-far.tmp");
    int32_t count = 0;
    EXPECT_EQ(removal::CleanFolder(Run(base::rmTest), folder, {.logIt = false}), 12u);
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 5);
    count = 0;
    EXPECT_EQ(removal::CleanFolder(Run(base::rmClean), folder, {.logIt = false}), 12u);
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 5);
    EXPECT_FALSE(LongFormExists(deep + "\\far.tmp"));
    EXPECT_FALSE(LongFormExists(folder + "Deep"));
    EXPECT_FALSE(LongFormExists(folder + "ends in dot."));
    EXPECT_FALSE(LongFormExists(folder + "ends in blank "));
    EXPECT_FALSE(LongFormExists(folder + "dotted."));
}

TEST_F(RemovalWineTest, FileWithASecondNameIsDeletedButItsSharedDataIsNotOverwritten) {
    std::string other = folder + "Other\\";
    ASSERT_TRUE(machine.files().MakeFolders(other));
    MakeFile(other + "kept.txt", "shared data");
    ASSERT_TRUE(machine.files().MakeFolders(folder + "Cleaned"));
    ASSERT_TRUE(CreateHardLinkW(Widen(folder + "Cleaned\\second.txt").c_str(), Widen(other + "kept.txt").c_str(),
                                nullptr));
    settings::CurrentOptions.OverwriteFile = true;
    settings::CurrentOptions.OverwriteNumber = 2;
    int32_t count = 0;
    removal::CleanFolder(Run(base::rmClean), folder + "Cleaned");
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(machine.files().Exists(folder + "Cleaned\\second.txt"));
    EXPECT_EQ(machine.files().ReadAll(other + "kept.txt").ValueOr(""), "shared data");
}

TEST_F(RemovalWineTest, UnixFileLinkToAFileElsewhereIsNeitherOverwrittenNorDeletedNorCounted) {
    // Wine shows a Unix symbolic link to a file as a plain file.
    std::string outside = machine.system().TempFolder() + "nullvane-outside-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(machine.files().MakeFolders(outside));
    MakeFile(outside + "\\secret.txt", "secret");
    ASSERT_TRUE(machine.files().MakeFolders(folder + "Cleaned"));
    MakeFile(folder + "Cleaned\\junk.tmp", "junk");
    std::string unixOutside = UnixPath(outside + "\\secret.txt");
    std::string unixLink = UnixPath(folder + "Cleaned") + "/innocent.txt";
    ASSERT_FALSE(unixOutside.empty());
    ASSERT_TRUE(RunUnix(Widen(kUnixBin + "ln -s " + unixOutside + " " + unixLink)));
    ASSERT_TRUE(WaitForAttributes(folder + "Cleaned\\innocent.txt"));

    settings::CurrentOptions.OverwriteFile = true;
    settings::CurrentOptions.OverwriteNumber = 1;
    int32_t count = 0;
    removal::CleanFolder(Run(base::rmClean), folder + "Cleaned");
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 1);
    EXPECT_EQ(machine.files().ReadAll(outside + "\\secret.txt").ValueOr("<gone>"), "secret");
    EXPECT_FALSE(machine.files().Exists(folder + "Cleaned\\junk.tmp"));
    RunUnix(Widen(kUnixBin + "rm -f " + unixLink));
    removal::CleanFolder(Run(base::rmClean), outside, {.removeFolder = true, .logIt = false});
    count = LastRun().ItemCount;
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
    EXPECT_EQ(removal::DeleteUserRegistryKey(Run(base::rmTest), key), 3);
    EXPECT_EQ(removal::DeleteUserRegistryKey(Run(base::rmClean), key), 3);
    EXPECT_FALSE(machine.registry().OpenKey(platform::RegRoot::CurrentUser, key, platform::RegAccess::Read));
}

// Names holding a lone surrogate cannot be written in plain UTF-8; the core
// must still reach them, and what it counts must be what is gone.
class SurrogateNameTest : public RemovalWineTest {
protected:
    void SetUp() override {
        RemovalWineTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
        RemovalWineTest::TearDown();
    }
    // Creates a key below the test key through the W functions, with one value.
    static void CreateWithValue(const std::wstring& sub, const std::wstring& valueName) {
        std::wstring path = std::wstring(kKey) + (sub.empty() ? L"" : L"\\" + sub);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        DWORD one = 1;
        EXPECT_EQ(RegSetValueExW(key, valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static bool Exists(const std::wstring& sub) {
        std::wstring path = std::wstring(kKey) + (sub.empty() ? L"" : L"\\" + sub);
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    static DWORD ValueCount() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
        DWORD values = 0;
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                         nullptr);
        RegCloseKey(key);
        return values;
    }
    static constexpr const wchar_t* kKey = L"Software\\NullvaneSurrogateTest";
    const std::string key = "Software\\NullvaneSurrogateTest";
};

TEST_F(SurrogateNameTest, KeyHoldingASubkeyWithALoneSurrogateIsRemovedWholeAndCountedWhole) {
    CreateWithValue(L"", L"top");
    CreateWithValue(L"a\xD800" L"b", L"inner");
    CreateWithValue(L"plain", L"other");
    EXPECT_EQ(removal::DeleteUserRegistryKey(Run(base::rmTest), key), 3);
    EXPECT_EQ(removal::DeleteUserRegistryKey(Run(base::rmClean), key), 3);
    EXPECT_FALSE(Exists(L""));
}

TEST_F(SurrogateNameTest, ValuesWithALoneSurrogateInTheirNameAreDeletedAndCounted) {
    CreateWithValue(L"", L"x\xDC00");
    CreateWithValue(L"", L"plain");
    EXPECT_EQ(removal::DeleteUserRegistryValues(Run(base::rmTest), key, ""), 2);
    EXPECT_EQ(removal::DeleteUserRegistryValues(Run(base::rmClean), key, ""), 2);
    EXPECT_EQ(ValueCount(), 0u);
    EXPECT_TRUE(Exists(L""));
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
