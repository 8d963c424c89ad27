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

}  // namespace
