// The cookie item through nullvane-cli against cookies that Wine's WinINet
// made: a cookie on the keep list stays and WinINet still returns it, the
// other is gone. WinINet keeps cookies in memory once used, so the cookies
// are made and asked for in processes of their own.
#include "win/CliProgram.h"
#include "win/SelfChild.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <fstream>
#include <string>

using namespace nullvane::testing;

namespace {

const wchar_t kKeptUrl[] = L"http://kept.nullvane.test/";
const wchar_t kGoneUrl[] = L"http://gone.nullvane.test/";
const wchar_t kExpires[] = L"; expires=Sat, 01-Jan-2050 00:00:00 GMT";

bool HasCookie(const wchar_t* url) {
    wchar_t value[256];
    DWORD size = 256;
    return InternetGetCookieW(url, nullptr, value, &size) != FALSE;
}

std::string ProgramFolderFile(const char* name) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

TEST(IECookiesOnWine, KeepListKeepsItsCookieForWinINetAndTheOtherGoes) {
    ASSERT_EQ(RunSelfWith(L"IECookieProbe.Make", {{L"NULLVANE_COOKIE_PROBE", L"make"}}), 0u);
    ASSERT_EQ(RunSelfWith(L"IECookieProbe.Ask", {{L"NULLVANE_COOKIE_PROBE", L"both"}}), 0u);

    const std::string keepFile = ProgramFolderFile("Cookies.ini");
    {
        std::ofstream keep(keepFile, std::ios::binary);
        keep << "[Cookies to Keep]\r\nCount=1\r\n0=kept.nullvane.test\r\n";
    }
    TCliResult preview = RunCliProgram("--preview --detail \"Internet Explorer - Cookies\"");
    TCliResult clean = RunCliProgram("--clean \"Internet Explorer - Cookies\" --yes --detail");
    std::remove(keepFile.c_str());

    EXPECT_EQ(preview.Status, 0) << preview.Err;
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    int deleting = 0;
    for (const std::string& line : clean.Out) deleting += line.rfind("Clean: deleting ", 0) == 0;
    EXPECT_GE(deleting, 1);  // the other cookie's file
    EXPECT_EQ(RunSelfWith(L"IECookieProbe.Ask", {{L"NULLVANE_COOKIE_PROBE", L"kept"}}), 0u);
}

// Cookie files in a folder moved through "User Shell Folders" to a name
// outside the ANSI code page, which the shell and WinINet both follow.
TEST(IECookiesOnWine, MovedCookieFolderWithAnyNameIsFoundAndEmptied) {
    const wchar_t* shellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, shellFolders, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    wchar_t old[MAX_PATH]{};
    DWORD oldType = 0, oldSize = sizeof old;
    bool hadOld = RegQueryValueExW(key, L"Cookies", nullptr, &oldType, reinterpret_cast<BYTE*>(old), &oldSize) ==
                  ERROR_SUCCESS;
    wchar_t profile[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH), 0u);
    const std::wstring parent = std::wstring(profile) + L"\\Donn\u00e9es";
    const std::wstring folder = parent + L"\\Cookies-\u65e5\u672c";
    CreateDirectoryW(parent.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    RegSetValueExW(key, L"Cookies", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));

    auto cookieFiles = [&] {
        int files = 0;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((folder + L"\\*.txt").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return 0;
        do ++files;
        while (FindNextFileW(find, &found));
        FindClose(find);
        return files;
    };
    EXPECT_EQ(RunSelfWith(L"IECookieProbe.Make", {{L"NULLVANE_COOKIE_PROBE", L"make"}}), 0u);
    const int made = cookieFiles();
    TCliResult clean = RunCliProgram("--clean \"Internet Explorer - Cookies\" --yes --detail");
    const int left = cookieFiles();

    if (hadOld)
        RegSetValueExW(key, L"Cookies", 0, oldType, reinterpret_cast<const BYTE*>(old), oldSize);
    else
        RegDeleteValueW(key, L"Cookies");
    RegCloseKey(key);

    EXPECT_GE(made, 2);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    int inFolder = 0;
    for (const std::string& line : clean.Out)
        inFolder += line.find("deleting ") != std::string::npos &&
                    line.find("\\Donn\xC3\xA9" "es\\Cookies-\xE6\x97\xA5\xE6\x9C\xAC\\") != std::string::npos;
    EXPECT_EQ(inFolder, made);
}

// Started only by the tests above.
TEST(IECookieProbe, Make) {
    const char* probe = std::getenv("NULLVANE_COOKIE_PROBE");
    if (!probe || std::string(probe) != "make") GTEST_SKIP() << "started only by the cookie test";
    ASSERT_TRUE(InternetSetCookieW(kKeptUrl, nullptr, (std::wstring(L"k=1") + kExpires).c_str()));
    ASSERT_TRUE(InternetSetCookieW(kGoneUrl, nullptr, (std::wstring(L"g=2") + kExpires).c_str()));
}

TEST(IECookieProbe, Ask) {
    const char* probe = std::getenv("NULLVANE_COOKIE_PROBE");
    if (!probe || std::string(probe) == "make") GTEST_SKIP() << "started only by the cookie test";
    EXPECT_TRUE(HasCookie(kKeptUrl));
    EXPECT_EQ(HasCookie(kGoneUrl), std::string(probe) == "both");
}

}  // namespace
