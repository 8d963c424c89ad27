// The URL cache against the sim and (under Wine) WinINet: a walk sees every
// entry once, also while entries are deleted during it; a delete removes the
// entry and says whether it did. The history store leaves the thread's COM
// state as it found it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/Internet.h"
#include "platform/sim/SimInternet.h"

#ifdef _WIN32
#include <windows.h>
#include <objbase.h>
#include <wininet.h>

#include "platform/win32/Win32Internet.h"
#include "platform/win32/WideText.h"
#endif

namespace nullvane::testing {
namespace {

struct SimInternetBackend {
    static constexpr const char* kName = "Sim";
    platform::sim::SimInternet internet;
    bool AddEntry(const std::string& url) {
        internet.AddCacheEntry(url);
        return true;
    }
};

#ifdef _WIN32
// Entries made as a browser makes them: a file of the cache, committed.
struct Win32InternetBackend {
    static constexpr const char* kName = "Win32";
    platform::win32::Win32Internet internet;
    bool AddEntry(const std::string& url) {
        std::wstring wideUrl = platform::win32::Widen(url);
        wchar_t file[MAX_PATH]{};
        if (!CreateUrlCacheEntryW(wideUrl.c_str(), 0, L"txt", file, 0)) return false;
        HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        WriteFile(handle, "cached", 6, &written, nullptr);
        CloseHandle(handle);
        FILETIME never{};
        return CommitUrlCacheEntryW(wideUrl.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr,
                                    nullptr) != FALSE;
    }
};
using InternetBackends = ::testing::Types<SimInternetBackend, Win32InternetBackend>;
#else
using InternetBackends = ::testing::Types<SimInternetBackend>;
#endif

template <class Backend>
class InternetContractTest : public ::testing::Test {
protected:
    platform::Internet& internet() { return backend.internet; }

    // URLs of this test's own, so that earlier runs in the same cache never meet them.
    std::string Url(const std::string& name) {
        static const std::string run = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        return "http://contract" + run + ".test/" + name;
    }

    std::vector<std::string> Walk(bool deleteEach = false) {
        std::vector<std::string> seen;
        auto walk = internet().WalkUrlCache();
        if (!walk) return seen;
        while (auto url = walk->Next()) {
            seen.push_back(*url);
            if (deleteEach && url->find("contract") != std::string::npos) (void)internet().DeleteCacheEntry(*url);
        }
        return seen;
    }

    static int Occurrences(const std::vector<std::string>& urls, const std::string& url) {
        return static_cast<int>(std::count(urls.begin(), urls.end(), url));
    }

    Backend backend;
};

class BackendName {
public:
    template <class T>
    static std::string GetName(int) {
        return T::kName;
    }
};
TYPED_TEST_SUITE(InternetContractTest, InternetBackends, BackendName);

TYPED_TEST(InternetContractTest, WalkSeesEachEntryOnceAndADeleteRemovesIt) {
    const std::string first = this->Url("first.html"), second = this->Url("second.html");
    ASSERT_TRUE(this->backend.AddEntry(first));
    ASSERT_TRUE(this->backend.AddEntry(second));

    auto seen = this->Walk();
    EXPECT_EQ(this->Occurrences(seen, first), 1);
    EXPECT_EQ(this->Occurrences(seen, second), 1);

    EXPECT_TRUE(this->internet().DeleteCacheEntry(first));
    EXPECT_FALSE(this->internet().DeleteCacheEntry(first));  // gone: the system says it did nothing
    seen = this->Walk();
    EXPECT_EQ(this->Occurrences(seen, first), 0);
    EXPECT_EQ(this->Occurrences(seen, second), 1);
    EXPECT_TRUE(this->internet().DeleteCacheEntry(second));
}

TYPED_TEST(InternetContractTest, DeletingDuringTheWalkNeitherEndsNorRepeatsIt) {
    std::vector<std::string> urls;
    for (int i = 0; i < 5; ++i) {
        urls.push_back(this->Url("page" + std::to_string(i) + ".html"));
        ASSERT_TRUE(this->backend.AddEntry(urls.back()));
    }
    auto seen = this->Walk(true);
    for (const auto& url : urls) EXPECT_EQ(this->Occurrences(seen, url), 1) << url;
    auto after = this->Walk();
    for (const auto& url : urls) EXPECT_EQ(this->Occurrences(after, url), 0) << url;
}

#ifdef _WIN32
// A thread already in the multithreaded apartment: the store's CoInitialize
// fails there, and what it did not initialise it must not uninitialise.
TEST(Win32UrlHistoryTest, OpeningTheStoreLeavesTheThreadsApartmentAsItWas) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    platform::win32::Win32Internet internet;
    for (int i = 0; i < 3; ++i) (void)internet.OpenUrlHistory();
    // Still initialised once: a further initialisation is counted, not new.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();

    // A thread without COM is left without it.
    (void)internet.OpenUrlHistory();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
}
#endif

}  // namespace
}  // namespace nullvane::testing
