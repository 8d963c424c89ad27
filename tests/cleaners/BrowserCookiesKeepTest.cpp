// The browsers' Cookies items with a keep list, on real SQLite files: which
// cookies stay, what the Test counts, and the deleted cookies' bytes.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "browsers/BrowserTable.h"
#include "cleaners/Cleaners.h"
#include "removal/RemovalFixture.h"
#include "stores/SQLiteFixture.h"
#include "support/BrowserFixture.h"

using namespace nullvane;
using nullvane::testing::MakeBrowserDatabase;
using nullvane::testing::QueryNumber;
using nullvane::testing::RemovalFixture;

namespace {

const std::string kEdgeProfile = "C:\\Users\\Test\\AppData\\Local\\Microsoft\\Edge\\User Data\\Default\\";
const std::string kWolfProfile = "C:\\Users\\Test\\AppData\\Roaming\\librewolf\\Profiles\\w.default\\";

// Kept: the site itself, its domain cookie and its subdomains, whatever the
// case. Gone: a name that merely ends in the site, a site inside another
// name, and another site. The gone cookies' values carry a marker.
struct THost {
    const char* Host;
    bool Kept;
};
const THost kHosts[] = {
    {"example.com", true},      {".example.com", true},          {"sub.example.com", true},
    {".Sub.EXAMPLE.com", true}, {"badexample.com", false},       {"example.com.evil.org", false},
    {".other.org", false},
};
constexpr char kGoneMarker[] = "SECRET-COOKIE-VALUE";

std::string ChromiumRows() {
    std::string rows;
    int n = 0;
    for (const THost& host : kHosts)
        rows += "INSERT INTO cookies VALUES (0, '" + std::string(host.Host) + "', '', 'n" + std::to_string(n++) + "', '" +
                (host.Kept ? "kept" : kGoneMarker) + "', x'', '/', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);";
    return rows;
}

std::string GeckoRows() {
    std::string rows;
    int n = 0;
    for (const THost& host : kHosts)
        rows += "INSERT INTO moz_cookies (name, value, host, path) VALUES ('n" + std::to_string(n++) + "', '" +
                (host.Kept ? "kept" : kGoneMarker) + "', '" + host.Host + "', '/');";
    return rows;
}

class BrowserCookiesKeepTest : public RemovalFixture {
protected:
    void SetUp() override {
        sim.MakeFile(kEdgeProfile + "Preferences", "{}");
        sim.MakeFolder(kEdgeProfile + "Network");
        MakeBrowserDatabase(Host(edgeCookies), "Chromium Network\\Cookies", false, ChromiumRows());
        sim.MakeFile(kEdgeProfile + "Extension Cookies", "whole");
        sim.MakeFile(kWolfProfile + "prefs.js", "");
        // The rows stay in the write-ahead log, as a browser that was not shut down leaves them.
        MakeBrowserDatabase(Host(wolfCookies), "Firefox cookies.sqlite", true, GeckoRows());
        sim.MakeFile(kWolfProfile + "cookies.txt", "old");
    }
    void Keep(const std::string& entries) {
        sim.MakeFile(sim.system().ProgramFolder() + "Cookies.dat", "[Cookies to keep]\n" + entries);
    }
    std::string Host(const std::string& path) { return stores::testing::Utf8(sim.HostPath(path)); }
    long long Rows(const std::string& path, const char* table) {
        return QueryNumber(Host(path), std::string("SELECT count(*) FROM ") + table);
    }
    long long KeptRows(const std::string& path, const char* table, const char* column) {
        return QueryNumber(Host(path), std::string("SELECT count(*) FROM ") + table + " WHERE " + column +
                                           " IN ('example.com', '.example.com', 'sub.example.com', '.Sub.EXAMPLE.com')");
    }
    // Whether the marker is anywhere in the database or its companions.
    bool MarkerInFiles(const std::string& path) {
        for (const char* suffix : {"", "-wal", "-journal"}) {
            std::ifstream in(sim.HostPath(path + suffix), std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            if (bytes.find(kGoneMarker) != std::string::npos) return true;
        }
        return false;
    }
    const browsers::TBrowser& Edge() { return *browsers::FindBrowser("Microsoft Edge"); }
    const browsers::TBrowser& Wolf() { return *browsers::FindBrowser("LibreWolf"); }

    std::string edgeCookies = kEdgeProfile + "Network\\Cookies";
    std::string wolfCookies = kWolfProfile + "cookies.sqlite";
};

TEST_F(BrowserCookiesKeepTest, AKeptSiteKeepsItsHostsAndSubdomainsOnlyAndTheTestCountsWhatTheCleanRemoves) {
    // The cookie file's name counts for Internet Explorer alone; a site's path is no part of its host.
    Keep("Count=2\n0=t@news[1].txt\n1=Example.COM/login\n");
    ASSERT_TRUE(MarkerInFiles(edgeCookies));
    ASSERT_TRUE(MarkerInFiles(wolfCookies));

    auto& edgeTest = Run(base::rmTest);
    cleaners::CleanChromiumCookies(edgeTest, Edge());
    EXPECT_EQ(edgeTest.ItemCount, 3 + 1);  // three cookies, and "Extension Cookies" as a file
    auto& wolfTest = Run(base::rmTest);
    cleaners::CleanGeckoCookies(wolfTest, Wolf());
    EXPECT_EQ(wolfTest.ItemCount, 3 + 1);  // three cookies, and the old cookies.txt
    EXPECT_EQ(Rows(edgeCookies, "cookies"), 7);
    EXPECT_EQ(Rows(wolfCookies, "moz_cookies"), 7);

    auto& edgeClean = Run(base::rmClean);
    cleaners::CleanChromiumCookies(edgeClean, Edge());
    EXPECT_EQ(edgeClean.ItemCount, 4);
    auto& wolfClean = Run(base::rmClean);
    cleaners::CleanGeckoCookies(wolfClean, Wolf());
    EXPECT_EQ(wolfClean.ItemCount, 4);
    EXPECT_FALSE(wolfClean.FinishedWithErrors());

    EXPECT_EQ(Rows(edgeCookies, "cookies"), 4);
    EXPECT_EQ(KeptRows(edgeCookies, "cookies", "host_key"), 4);
    EXPECT_EQ(Rows(wolfCookies, "moz_cookies"), 4);
    EXPECT_EQ(KeptRows(wolfCookies, "moz_cookies", "host"), 4);
    EXPECT_FALSE(Exists(kEdgeProfile + "Extension Cookies"));
    EXPECT_FALSE(Exists(kWolfProfile + "cookies.txt"));
    // Secure delete: the removed cookies' bytes do not stay in the file's free space.
    EXPECT_FALSE(MarkerInFiles(edgeCookies));
    EXPECT_FALSE(MarkerInFiles(wolfCookies));
}

TEST_F(BrowserCookiesKeepTest, AKeepListOfCookieFileNamesAloneDeletesTheCookieDatabasesWhole) {
    Keep("Count=1\n0=t@example[1].txt\n");
    auto& test = Run(base::rmTest);
    cleaners::CleanGeckoCookies(test, Wolf());
    EXPECT_EQ(test.ItemCount, 1 + 3);  // cookies.txt, cookies.sqlite and its -wal and -shm

    auto& clean = Run(base::rmClean);
    cleaners::CleanChromiumCookies(clean, Edge());
    cleaners::CleanGeckoCookies(clean, Wolf());
    EXPECT_FALSE(Exists(edgeCookies));
    EXPECT_FALSE(Exists(wolfCookies));
    EXPECT_FALSE(Exists(wolfCookies + "-wal"));
}

}  // namespace
