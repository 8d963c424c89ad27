#include <algorithm>

#include "removal/FileRemoval.h"
#include "RemovalFixture.h"

using namespace nullvane;
using namespace nullvane::removal;
using nullvane::testing::RemovalFixture;

namespace {

class DatabaseFilesTest : public RemovalFixture {
protected:
    // Two profiles: one database with all three companions, one with its
    // write-ahead log only; and names the exact match must pass over.
    void MakeProfiles() {
        sim.MakeFile("C:\\P\\one\\cookies.sqlite", "1234");
        sim.MakeFile("C:\\P\\one\\cookies.sqlite-journal", "j");
        sim.MakeFile("C:\\P\\one\\cookies.sqlite-wal", "wal");
        sim.MakeFile("C:\\P\\one\\cookies.sqlite-shm", "sh");
        sim.MakeFile("C:\\P\\two\\cookies.sqlite", "12");
        sim.MakeFile("C:\\P\\two\\cookies.sqlite-wal", "w");
        sim.MakeFile("C:\\P\\two\\Cookies.sqlite.bak", "x");
        sim.MakeFile("C:\\P\\three\\Cookies.sqlite", "x");
        sim.MakeFile("C:\\P\\three\\cookies.sqlite-wal", "orphan");
    }
    int LinesWith(const std::string& text) {
        int n = 0;
        for (const auto& line : log.Lines()) n += line.find(text) != std::string::npos;
        return n;
    }
};

TEST_F(DatabaseFilesTest, ATestCountsEachDatabaseAndTheCompanionsThatExistAndKeepsThem) {
    MakeProfiles();
    auto& run = Run(run::rmTest);
    int32_t count = 0;
    EXPECT_EQ(CleanDatabaseFiles(run, "C:\\P", "cookies.sqlite", true, count), 4u + 1 + 3 + 2 + 2 + 1);
    EXPECT_EQ(count, 6);
    EXPECT_EQ(LinesWith("Test: deleting C:\\P\\one\\cookies.sqlite-journal"), 1);
    EXPECT_TRUE(Exists("C:\\P\\one\\cookies.sqlite-shm"));
    // A log with no database of that exact name is not the item's.
    EXPECT_TRUE(Exists("C:\\P\\three\\cookies.sqlite-wal"));
    EXPECT_EQ(LinesWith("three"), 0);
}

TEST_F(DatabaseFilesTest, ACleanRemovesTheDatabaseThenItsCompanions) {
    MakeProfiles();
    auto& run = Run(run::rmClean);
    int32_t count = 0;
    EXPECT_EQ(CleanDatabaseFiles(run, "C:\\P", "cookies.sqlite", true, count), 13u);
    EXPECT_EQ(count, 6);
    for (const char* gone : {"one\\cookies.sqlite", "one\\cookies.sqlite-journal", "one\\cookies.sqlite-wal",
                             "one\\cookies.sqlite-shm", "two\\cookies.sqlite", "two\\cookies.sqlite-wal"})
        EXPECT_FALSE(Exists(std::string("C:\\P\\") + gone)) << gone;
    EXPECT_TRUE(Exists("C:\\P\\two\\Cookies.sqlite.bak"));
    EXPECT_TRUE(Exists("C:\\P\\three\\cookies.sqlite-wal"));
    // The database goes before its companions.
    std::vector<std::string> lines = log.Lines();
    auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
    EXPECT_LT(at("Clean: deleting C:\\P\\one\\cookies.sqlite"), at("Clean: deleting C:\\P\\one\\cookies.sqlite-wal"));
    EXPECT_LT(at("Clean: deleting C:\\P\\one\\cookies.sqlite-wal"), static_cast<std::ptrdiff_t>(lines.size()));
    EXPECT_FALSE(run.FinishedWithErrors());
}

TEST_F(DatabaseFilesTest, ADatabaseInUseStaysWithItsCompanionsAndTheRunGoesOnToTheNext) {
    MakeProfiles();
    sim.files().SetInUse("C:\\P\\one\\cookies.sqlite");
    auto& run = Run(run::rmClean);
    int32_t count = 0;
    EXPECT_EQ(CleanDatabaseFiles(run, "C:\\P", "cookies.sqlite", true, count), 3u);
    EXPECT_EQ(count, 2);  // the other profile's database and its log
    for (const char* kept : {"cookies.sqlite-journal", "cookies.sqlite-wal", "cookies.sqlite-shm"})
        EXPECT_TRUE(Exists(std::string("C:\\P\\one\\") + kept)) << kept;
    EXPECT_FALSE(Exists("C:\\P\\two\\cookies.sqlite-wal"));
    EXPECT_EQ(LinesWith("The file is in use by another program: C:\\P\\one\\cookies.sqlite"), 1);
    EXPECT_EQ(LinesWith("deleting C:\\P\\one"), 0);
    EXPECT_TRUE(run.FinishedWithErrors());
}

}  // namespace
