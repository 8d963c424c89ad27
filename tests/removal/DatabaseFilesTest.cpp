#include <algorithm>

#include "removal/FileRemoval.h"
#include "RemovalFixture.h"

using namespace nullvane;
using namespace nullvane::removal;
using nullvane::testing::RemovalFixture;

namespace {

class DatabaseFilesTest : public RemovalFixture {
protected:
    // One database with all three companions, one with its log only, and
    // names the exact match must pass over.
    void SetUp() override {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"})
            sim.MakeFile(std::string("C:\\P\\one\\cookies.sqlite") + suffix, "12");
        sim.MakeFile("C:\\P\\two\\cookies.sqlite", "1");
        sim.MakeFile("C:\\P\\two\\cookies.sqlite-wal", "1");
        sim.MakeFile("C:\\P\\three\\Cookies.sqlite", "x");
        sim.MakeFile("C:\\P\\three\\cookies.sqlite-wal", "orphan");
    }
    std::vector<std::string> Lines() { return log.Lines(); }
    bool Logged(const std::string& line) { return std::ranges::count(log.Lines(), line) == 1; }
};

TEST_F(DatabaseFilesTest, EachDatabaseGoesBeforeTheCompanionsThatExistAndATestKeepsThem) {
    EXPECT_EQ(CleanDatabaseFiles(Run(base::rmTest), "C:\\P", "cookies.sqlite", {.recurse = true}), 10u);
    EXPECT_EQ(LastRun().ItemCount, 6);
    EXPECT_TRUE(Exists("C:\\P\\one\\cookies.sqlite-shm"));

    auto& clean = Run(base::rmClean);
    EXPECT_EQ(CleanDatabaseFiles(clean, "C:\\P", "cookies.sqlite", {.recurse = true}), 10u);
    EXPECT_EQ(clean.ItemCount, 6);
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        EXPECT_FALSE(Exists(std::string("C:\\P\\one\\cookies.sqlite") + suffix)) << suffix;
    EXPECT_FALSE(Exists("C:\\P\\two\\cookies.sqlite-wal"));
    // A log without a database of that exact name is not the item's.
    EXPECT_TRUE(Exists("C:\\P\\three\\cookies.sqlite-wal"));
    auto lines = Lines();
    auto at = [&](const std::string& line) { return std::ranges::find(lines, line) - lines.begin(); };
    EXPECT_LT(at("Clean: deleting C:\\P\\one\\cookies.sqlite"), at("Clean: deleting C:\\P\\one\\cookies.sqlite-wal"));
    EXPECT_TRUE(Logged("Clean: deleting C:\\P\\one\\cookies.sqlite-wal"));
    EXPECT_FALSE(clean.FinishedWithErrors());
}

TEST_F(DatabaseFilesTest, ADatabaseInUseStaysWithItsCompanionsAndTheWalkGoesOn) {
    sim.files().SetInUse("C:\\P\\one\\cookies.sqlite");
    auto& run = Run(base::rmClean);
    EXPECT_EQ(CleanDatabaseFiles(run, "C:\\P", "cookies.sqlite", {.recurse = true}), 2u);
    EXPECT_EQ(run.ItemCount, 2);  // the other profile's database and its log
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        EXPECT_TRUE(Exists(std::string("C:\\P\\one\\cookies.sqlite") + suffix)) << suffix;
    EXPECT_TRUE(Logged("The file is in use by another program: C:\\P\\one\\cookies.sqlite"));
    EXPECT_TRUE(run.FinishedWithErrors());
}

}  // namespace
