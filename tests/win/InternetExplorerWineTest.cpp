// The browser's cache, history and index file items through nullvane-cli.exe,
// over entries that Wine's WinINet made and keeps.
#include <windows.h>
#include <shlobj.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "win/CliProgram.h"

using nullvane::platform::win32::Narrow;
using nullvane::platform::win32::Widen;
using nullvane::testing::RunCliProgram;
using nullvane::testing::TCliResult;

namespace {

// A cache entry with a file of its own, as a browser makes one; its file's path.
std::wstring AddCacheEntry(const std::wstring& url, DWORD type = NORMAL_CACHE_ENTRY) {
    wchar_t file[MAX_PATH]{};
    if (!CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0)) return {};
    HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    DWORD written = 0;
    WriteFile(handle, "<html></html>", 13, &written, nullptr);
    CloseHandle(handle);
    FILETIME never{};
    if (!CommitUrlCacheEntryW(url.c_str(), file, never, never, type, nullptr, 0, nullptr, nullptr)) return {};
    return file;
}

bool HasCacheEntry(const std::wstring& url) {
    DWORD size = 0;
    GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int CountLines(const TCliResult& result, const std::string& text) {
    return static_cast<int>(std::count_if(result.Out.begin(), result.Out.end(),
                                          [&](const std::string& line) { return line.find(text) != std::string::npos; }));
}

std::string UserName() {
    wchar_t name[256]{};
    DWORD size = 256;
    GetUserNameW(name, &size);
    return Narrow(name);
}

// The Windows version Wine reports to nullvane-cli.exe, for as long as it lives.
class TCliWineVersion {
public:
    explicit TCliWineVersion(const wchar_t* version) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) ==
            ERROR_SUCCESS)
            RegSetValueExW(key_, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                           static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
    }
    ~TCliWineVersion() {
        if (key_) RegCloseKey(key_);
        RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
    }
    TCliWineVersion(const TCliWineVersion&) = delete;
    TCliWineVersion& operator=(const TCliWineVersion&) = delete;

private:
    static constexpr const wchar_t* kKey = L"Software\\Wine\\AppDefaults\\nullvane-cli.exe";
    HKEY key_ = nullptr;
};

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH]{};
    return SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) ? path : L"";
}

}  // namespace

TEST(InternetExplorerWine, VisitedHistoryDeletesPlainPagesWithTheirFilesAndLeavesSecureCookieAndVisitedEntries) {
    const std::wstring page = L"http://wine-history.example/page.htm";
    const std::wstring secure = L"https://wine-history.example/secure.htm";
    const std::wstring visited = L"Visited: " + Widen(UserName()) + L"@http://wine-history.example/page.htm";
    const std::wstring pageFile = AddCacheEntry(page);
    ASSERT_FALSE(pageFile.empty());
    ASSERT_FALSE(AddCacheEntry(secure).empty());
    ASSERT_FALSE(AddCacheEntry(visited, URLHISTORY_CACHE_ENTRY).empty());
    ASSERT_TRUE(InternetSetCookieW(L"http://wine-cookie.example/", L"kept",
                                   L"yes; expires=Sat, 01-Jan-2039 00:00:00 GMT"));

    TCliResult preview = RunCliProgram("--preview --detail \"Internet Explorer - Visited URL History\"");
    ASSERT_EQ(preview.Status, 0) << preview.Err;
    EXPECT_EQ(CountLines(preview, "Test: deleting http://wine-history.example/page.htm"), 1);
    EXPECT_EQ(CountLines(preview, "secure.htm"), 0);
    EXPECT_EQ(CountLines(preview, "Visited:"), 0);
    EXPECT_TRUE(HasCacheEntry(page));

    TCliResult clean = RunCliProgram("--clean --yes --detail \"Internet Explorer - Visited URL History\"");
    ASSERT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_EQ(CountLines(clean, "Clean: deleting http://wine-history.example/page.htm"), 1);
    EXPECT_FALSE(HasCacheEntry(page));
    EXPECT_FALSE(FileExists(pageFile));
    EXPECT_TRUE(HasCacheEntry(secure));
    EXPECT_TRUE(HasCacheEntry(visited));
    wchar_t cookie[256]{};
    DWORD size = 256;
    EXPECT_TRUE(InternetGetCookieW(L"http://wine-cookie.example/", nullptr, cookie, &size));
    EXPECT_EQ(Narrow(cookie), "kept=yes");

    // The cache takes new entries afterwards.
    EXPECT_FALSE(AddCacheEntry(L"http://wine-history.example/after.htm").empty());
    EXPECT_TRUE(HasCacheEntry(L"http://wine-history.example/after.htm"));
}

TEST(InternetExplorerWine, TemporaryInternetFilesKeepTheCacheSubfoldersSoTheBrowserCanStillStore) {
    const std::wstring before = AddCacheEntry(L"http://wine-tif.example/one.htm");
    ASSERT_FALSE(before.empty());
    const std::wstring subfolder = before.substr(0, before.find_last_of(L'\\'));

    TCliResult clean = RunCliProgram("--clean --yes \"Internet Explorer - Temporary Internet Files\"");
    EXPECT_TRUE(clean.Status == 0 || clean.Status == 5) << clean.Err;
    EXPECT_FALSE(FileExists(before));
    EXPECT_TRUE(FileExists(subfolder));
    // This process still holds the cache's index, which names that subfolder.
    wchar_t file[MAX_PATH]{};
    EXPECT_TRUE(CreateUrlCacheEntryW(L"http://wine-tif.example/two.htm", 0, L"htm", file, 0)) << GetLastError();
}

TEST(InternetExplorerWine, IndexDatFilesAreScheduledForRemovalAtTheNextStart) {
    ASSERT_FALSE(AddCacheEntry(L"http://wine-index.example/page.htm").empty());
    const std::wstring cacheIndex = SpecialFolder(CSIDL_INTERNET_CACHE) + L"\\Content.IE5\\index.dat";
    ASSERT_TRUE(FileExists(cacheIndex));

    TCliResult clean = RunCliProgram("--clean --yes \"Internet Explorer - Index.dat Files\"");
    ASSERT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_EQ(CountLines(clean, "Warning: This will take effect next time windows is rebooted."), 1);
    EXPECT_EQ(CountLines(clean, "cannot be removed at the next start"), 0);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0,
                            KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    std::vector<wchar_t> pending(1 << 16);
    DWORD bytes = static_cast<DWORD>(pending.size() * sizeof(wchar_t));
    const LONG read = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(pending.data()), &bytes);
    RegDeleteValueW(key, L"PendingFileRenameOperations");  // the next start of this prefix removes nothing
    RegCloseKey(key);
    ASSERT_EQ(read, ERROR_SUCCESS);
    std::wstring all(pending.data(), bytes / sizeof(wchar_t));
    std::replace(all.begin(), all.end(), L'\0', L'\n');
    EXPECT_NE(all.find(L"\\Content.IE5\\index.dat"), std::wstring::npos) << Narrow(all);
    EXPECT_NE(all.find(L"\\History.IE5\\index.dat"), std::wstring::npos) << Narrow(all);
}

TEST(InternetExplorerWine, IndexDatFilesOnTheNinetyFiveFamilyAskWininitToDeleteThem) {
    ASSERT_FALSE(AddCacheEntry(L"http://wine-win98.example/page.htm").empty());
    wchar_t windows[MAX_PATH]{};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring wininit = std::wstring(windows) + L"\\Wininit.ini";
    DeleteFileW(wininit.c_str());
    {
        TCliWineVersion version(L"win98");
        TCliResult clean = RunCliProgram("--clean --yes \"Internet Explorer - Index.dat Files\"");
        ASSERT_EQ(clean.Status, 0) << clean.Err;
    }
    std::ifstream in(wininit.c_str(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileW(wininit.c_str());
    EXPECT_EQ(text.rfind("[rename]\r\n", 0), 0u) << text;
    EXPECT_GE(CountLines(TCliResult{0, nullvane::testing::Lines(text), ""}, "NUL=C:\\"), 2) << text;
    EXPECT_EQ(text.find("url="), std::string::npos) << text;
}

TEST(InternetExplorerWine, VisitedHistoryOnEveryCurrentWindowsFindsWhatIsThereAndNeverFails) {
    for (const wchar_t* version : {L"win7", L"win8", L"win10"}) {
        ASSERT_FALSE(AddCacheEntry(L"http://wine-versions.example/page.htm").empty());
        TCliWineVersion set(version);
        TCliResult clean = RunCliProgram("--clean --yes --detail \"Internet Explorer - Visited URL History\"");
        EXPECT_EQ(clean.Status, 0) << Narrow(version) << clean.Err;
        EXPECT_EQ(CountLines(clean, "Clean: deleting http://wine-versions.example/page.htm"), 1) << Narrow(version);
    }
}

TEST(InternetExplorerWine, IndexDatFilesFollowACookieFolderNamedOutsideTheAnsiCodePage) {
    const wchar_t* shellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const std::wstring profile = SpecialFolder(CSIDL_PROFILE);
    const std::wstring moved = profile + L"\\Donn\u00e9es\\Cookies-\u65e5\u672c";
    ASSERT_TRUE(CreateDirectoryW((profile + L"\\Donn\u00e9es").c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(CreateDirectoryW(moved.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring index = moved + L"\\index.dat";
    HANDLE file = CreateFileW(index.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "Client UrlCache MMF Ver 5.2", 27, &written, nullptr);
    CloseHandle(file);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, shellFolders, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    std::vector<wchar_t> old(1024);
    DWORD oldBytes = static_cast<DWORD>(old.size() * sizeof(wchar_t));
    DWORD oldType = 0;
    const bool hadOld = RegQueryValueExW(key, L"Cookies", nullptr, &oldType, reinterpret_cast<BYTE*>(old.data()),
                                         &oldBytes) == ERROR_SUCCESS;
    RegSetValueExW(key, L"Cookies", 0, REG_SZ, reinterpret_cast<const BYTE*>(moved.c_str()),
                   static_cast<DWORD>((moved.size() + 1) * sizeof(wchar_t)));
    TCliResult clean = RunCliProgram("--clean --yes \"Internet Explorer - Index.dat Files\"");
    if (hadOld)
        RegSetValueExW(key, L"Cookies", 0, oldType, reinterpret_cast<const BYTE*>(old.data()), oldBytes);
    else
        RegDeleteValueW(key, L"Cookies");
    RegCloseKey(key);
    ASSERT_EQ(clean.Status, 0) << clean.Err;

    HKEY session = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0,
                            KEY_ALL_ACCESS, &session),
              ERROR_SUCCESS);
    std::vector<wchar_t> pending(1 << 16);
    DWORD bytes = static_cast<DWORD>(pending.size() * sizeof(wchar_t));
    const LONG read = RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(pending.data()), &bytes);
    RegDeleteValueW(session, L"PendingFileRenameOperations");
    RegCloseKey(session);
    DeleteFileW(index.c_str());
    ASSERT_EQ(read, ERROR_SUCCESS);
    std::wstring all(pending.data(), bytes / sizeof(wchar_t));
    std::replace(all.begin(), all.end(), L'\0', L'\n');
    EXPECT_NE(all.find(L"\\Donn\u00e9es\\Cookies-\u65e5\u672c\\index.dat"), std::wstring::npos) << Narrow(all);
}
