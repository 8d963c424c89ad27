// The installed applications and the Office lists through nullvane-cli.exe,
// on the real registry and file system of the test prefix.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "win/CliProgram.h"

using nullvane::testing::RunCliProgram;
using nullvane::testing::TCliResult;

namespace {

const wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kUninstall32[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

void Install(HKEY root, const std::wstring& list, const std::wstring& entry, const std::wstring& displayName) {
    ASSERT_EQ(RegSetKeyValueW(root, (list + entry).c_str(), L"DisplayName", REG_SZ, displayName.c_str(),
                              static_cast<DWORD>((displayName.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

std::filesystem::path AppData() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    return path;
}

bool Has(const TCliResult& result, const std::string& line) {
    return std::find(result.Out.begin(), result.Out.end(), line) != result.Out.end();
}

TEST(ApplicationsWineTest, InstalledApplicationsFromTheThreeListsAreItemsThatCleanWhatTheirSectionNames) {
    Install(HKEY_LOCAL_MACHINE, kUninstall32, L"VLC media player", L"VLC media player");
    Install(HKEY_CURRENT_USER, kUninstall, L"Discord", L"Discord");
    const auto discord = AppData() / "discord";
    std::filesystem::create_directories(discord / "Cache");
    std::ofstream(discord / "Cache" / "data_0") << "cached";
    std::ofstream(discord / "settings.json") << "{}";

    TCliResult list = RunCliProgram("--list");
    ASSERT_EQ(list.Status, 0) << list.Err;
    const auto vlc = std::find(list.Out.begin(), list.Out.end(), "  Applications - VLC media player");
    const auto discordItem = std::find(list.Out.begin(), list.Out.end(), "  Applications - Discord");
    ASSERT_NE(vlc, list.Out.end());
    ASSERT_NE(discordItem, list.Out.end());
    EXPECT_LT(vlc, discordItem);  // the machine's lists come before the user's

    TCliResult clean = RunCliProgram("--clean --yes \"Applications - Discord\"");
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_FALSE(std::filesystem::exists(discord / "Cache" / "data_0"));
    EXPECT_TRUE(std::filesystem::exists(discord / "settings.json"));

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstall32) + L"VLC media player").c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(kUninstall) + L"Discord").c_str());
    TCliResult after = RunCliProgram("--list");
    EXPECT_FALSE(Has(after, "  Applications - Discord"));
}

TEST(ApplicationsWineTest, WordListsBesideDataGoAndOtherWordSettingsStay) {
    const wchar_t word[] = L"Software\\Microsoft\\Office\\14.0\\Word\\";
    const wchar_t file[] = L"C:\\report.docx";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (std::wstring(word) + L"File MRU").c_str(), L"Item 1", REG_SZ, file,
                              sizeof file),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (std::wstring(word) + L"Options").c_str(), L"Zoom", REG_SZ, L"100",
                              sizeof L"100"),
              ERROR_SUCCESS);
    TCliResult preview = RunCliProgram("--preview --detail \"Microsoft Office - Word\"");
    EXPECT_TRUE(Has(preview, "Test: deleting registry key HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0\\Word\\File MRU"))
        << preview.Err;
    TCliResult clean = RunCliProgram("--clean --yes \"Microsoft Office - Word\"");
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(word) + L"File MRU").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(word) + L"Options").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\14.0");
}

}  // namespace
