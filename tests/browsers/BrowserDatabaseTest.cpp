#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "browsers/BrowserDatabase.h"
#include "removal/RemovalFixture.h"
#include "stores/SQLiteException.h"
#include "stores/SQLiteFixture.h"
#include "support/BrowserFixture.h"

using namespace nullvane;
using namespace nullvane::browsers;
using nullvane::testing::MakeBrowserDatabase;
using nullvane::testing::QueryNumber;
using nullvane::testing::RemovalFixture;

namespace {

constexpr char kPlaces[] = "C:\\Users\\Test\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\a.default\\places.sqlite";
constexpr char kVisits[] = "INSERT INTO moz_places (id, url) VALUES (1, 'http://a/'), (2, 'http://b/');"
                           "INSERT INTO moz_historyvisits (place_id, visit_type) VALUES (1, 1), (2, 1);";

class BrowserDatabaseTest : public RemovalFixture {
protected:
    std::string Host(const std::string& path) { return nullvane::stores::testing::Utf8(sim.HostPath(path)); }
    void MakePlaces(const std::string& title, bool wal, const std::string& rows = kVisits) {
        sim.MakeFolder("C:\\Users\\Test\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\a.default");
        MakeBrowserDatabase(Host(kPlaces), title, wal, rows);
    }
    long long Count(const std::string& table) { return QueryNumber(Host(kPlaces), "SELECT count(*) FROM " + table); }
    // Every file beside the database, with its content.
    std::map<std::string, std::string> Folder() {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(sim.HostPath(kPlaces).parent_path()))
            files[entry.path().filename().string()] = Bytes(entry.path());
        return files;
    }
    static std::string Bytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    int LinesWith(const std::string& text) {
        int n = 0;
        for (const auto& line : log.Lines()) n += line.find(text) != std::string::npos;
        return n;
    }
};

const std::vector<TDatabaseStatement> kHistory = {
    {"DELETE FROM moz_places WHERE id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)",
     {"moz_places", "moz_bookmarks"}, {}},
    {"DELETE FROM moz_historyvisits", {"moz_historyvisits"}, {}},
    {"UPDATE moz_places SET typed = 0", {}, {{"moz_places", "typed"}}},
    {"UPDATE moz_places SET recalc_frecency = 1", {}, {{"moz_places", "recalc_frecency"}}},
};

TEST_F(BrowserDatabaseTest, StatementsWhoseTablesOrColumnsAreMissingAreSkippedAndTheRestRun) {
    MakePlaces("Firefox places.sqlite of an old profile", false,
               std::string(kVisits) + "UPDATE moz_places SET typed = 1;");
    auto& run = Run(base::rmClean);
    EXPECT_TRUE(CleanDatabase(run, kPlaces, kHistory));
    EXPECT_EQ(Count("moz_places"), 2);  // no bookmarks table: the places stay
    EXPECT_EQ(Count("moz_historyvisits"), 0);
    EXPECT_EQ(QueryNumber(Host(kPlaces), "SELECT sum(typed) FROM moz_places"), 0);
    EXPECT_EQ(LinesWith("Clean: cleaning database " + std::string(kPlaces)), 1);
    EXPECT_FALSE(run.FinishedWithErrors());
}

TEST_F(BrowserDatabaseTest, AFailingStatementRollsBackTheDatabaseAndLeavesTheRun) {
    MakePlaces("Firefox places.sqlite (", true);
    std::vector<TDatabaseStatement> statements = {{"DELETE FROM moz_historyvisits", {"moz_historyvisits"}, {}},
                                                  {"DELETE FROM moz_places WHERE no_such_column = 1", {"moz_places"}, {}}};
    auto& run = Run(base::rmClean);
    EXPECT_THROW((void)CleanDatabase(run, kPlaces, statements), stores::ESQLiteException);
    EXPECT_EQ(Count("moz_historyvisits"), 2);
    EXPECT_FALSE(run.FinishedWithErrors());
}

TEST_F(BrowserDatabaseTest, ADatabaseAnotherConnectionWritesIsReportedInUseAndLeftUnchanged) {
    MakePlaces("Firefox places.sqlite (", true);
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(Host(kPlaces).c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    auto& run = Run(base::rmClean);
    EXPECT_FALSE(CleanDatabase(run, kPlaces, kHistory));
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_EQ(Count("moz_historyvisits"), 2);
    EXPECT_EQ(LinesWith("The file is in use by another program: " + std::string(kPlaces)), 1);
    EXPECT_TRUE(run.FinishedWithErrors());
}

TEST_F(BrowserDatabaseTest, ATestNamesTheDatabaseAndChangesNoByte) {
    MakePlaces("Firefox places.sqlite (", true);
    const auto before = Folder();
    ASSERT_EQ(before.count("places.sqlite-wal"), 1u);
    auto& run = Run(base::rmTest);
    EXPECT_FALSE(CleanDatabase(run, kPlaces, kHistory));
    EXPECT_FALSE(CleanDatabase(run, "C:\\nowhere\\places.sqlite", kHistory));
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Test: cleaning database " + std::string(kPlaces)});
    EXPECT_EQ(Folder(), before);

    auto& fast = Run(base::rmClean);
    fast.SetFastScan(true);
    EXPECT_FALSE(CleanDatabase(fast, "C:\\nowhere\\places.sqlite", kHistory));
    EXPECT_FALSE(Exists("C:\\nowhere\\places.sqlite"));
    EXPECT_EQ(log.Lines().size(), 1u);
}

TEST_F(BrowserDatabaseTest, TheFilesOwnTriggersNeverFireWhileItIsCleaned) {
    MakePlaces("Firefox places.sqlite (", false,
               std::string(kVisits) +
                   "INSERT INTO moz_bookmarks (id, type, fk, parent, guid) VALUES (1, 1, 1, 0, 'b1');"
                   "CREATE TRIGGER wipe AFTER DELETE ON moz_historyvisits BEGIN DELETE FROM moz_bookmarks; END;");
    auto& run = Run(base::rmClean);
    EXPECT_TRUE(CleanDatabase(run, kPlaces, kHistory));
    EXPECT_EQ(Count("moz_historyvisits"), 0);
    EXPECT_EQ(Count("moz_bookmarks"), 1);
}

TEST_F(BrowserDatabaseTest, ADatabaseBehindALinkOrWithAnotherNameIsLeftUnopened) {
#ifdef _WIN32
    GTEST_SKIP() << "the simulation's host links are made on Linux; the Wine tests make real ones";
#endif
    MakePlaces("Firefox places.sqlite (", false);
    const std::string profile = "C:\\Users\\Test\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\";
    // A profile whose places.sqlite is a link to the real one elsewhere.
    sim.MakeFolder(profile + "b.default");
    std::filesystem::create_symlink(sim.HostPath(kPlaces), sim.HostPath(profile + "b.default\\places.sqlite"));
    // And one whose places.sqlite is a second name of it.
    sim.MakeFolder(profile + "c.default");
    std::filesystem::create_hard_link(sim.HostPath(kPlaces), sim.HostPath(profile + "c.default\\places.sqlite"));
    auto& run = Run(base::rmClean);
    EXPECT_FALSE(CleanDatabase(run, profile + "b.default\\places.sqlite", kHistory));
    EXPECT_FALSE(CleanDatabase(run, profile + "c.default\\places.sqlite", kHistory));
    EXPECT_EQ(Count("moz_historyvisits"), 2);
    EXPECT_EQ(LinesWith("The database was left: the name leads through a link: " + profile + "b.default"), 1);
    EXPECT_EQ(LinesWith("The database was left: the file has other names: " + profile + "c.default"), 1);
    EXPECT_FALSE(run.FinishedWithErrors());
}

TEST_F(BrowserDatabaseTest, ADamagedOrReadOnlyDatabaseIsLeftWholeLoggedAndTheRunEndsWithErrors) {
    MakePlaces("Firefox places.sqlite (", false);
    // A damaged page: the header stays, the schema page is overwritten.
    std::string bytes = Bytes(sim.HostPath(kPlaces));
    ASSERT_GE(bytes.size(), 4096u);
    bytes.replace(100, 3000, std::string(3000, '\xA5'));
    { std::ofstream(sim.HostPath(kPlaces), std::ios::binary | std::ios::trunc) << bytes; }
    const auto before = Folder();
    auto& run = Run(base::rmClean);
    EXPECT_FALSE(CleanDatabase(run, kPlaces, kHistory));
    EXPECT_EQ(LinesWith("The database is damaged and was left: " + std::string(kPlaces)), 1);
    EXPECT_TRUE(run.FinishedWithErrors());
    EXPECT_EQ(Folder(), before);

    // Not a database at all.
    { std::ofstream(sim.HostPath(kPlaces), std::ios::binary | std::ios::trunc) << std::string(8192, 'x'); }
    for (const char* companion : {"-wal", "-shm"})
        std::filesystem::remove(sim.HostPath(std::string(kPlaces) + companion));
    auto& again = Run(base::rmClean);
    EXPECT_FALSE(CleanDatabase(again, kPlaces, kHistory));
    EXPECT_EQ(LinesWith("The database is damaged and was left: "), 2);

    std::filesystem::remove(sim.HostPath(kPlaces));
    MakePlaces("Firefox places.sqlite (", false);
    ASSERT_TRUE(sim.files().SetAttributes(kPlaces, platform::faReadOnly));
    auto& readOnly = Run(base::rmClean);
    EXPECT_FALSE(CleanDatabase(readOnly, kPlaces, kHistory));
    EXPECT_EQ(LinesWith("The file is read-only: " + std::string(kPlaces)), 1);
    EXPECT_EQ(LinesWith("in use"), 0);
    EXPECT_TRUE(readOnly.FinishedWithErrors());
    EXPECT_EQ(Count("moz_historyvisits"), 2);
}

}  // namespace
