#include "removal/Lookups.h"
#include "RemovalFixture.h"

using namespace nullvane;
using namespace nullvane::removal;
using nullvane::platform::RegRoot;
using nullvane::testing::RemovalFixture;

namespace {

TEST(WindowsVersionCodes, FollowTheTableOfPlatformsAndVersions) {
    struct Row {
        uint32_t platform, major, minor;
        int code;
    } rows[] = {{1, 4, 0, 1}, {1, 4, 10, 3}, {1, 4, 90, 8}, {1, 4, 20, 10}, {2, 3, 51, 5}, {2, 4, 0, 6},
                {2, 5, 0, 7}, {2, 5, 1, 9},  {2, 5, 2, 10}, {2, 6, 0, 11},  {2, 6, 1, 12}, {2, 6, 2, 11},
                {2, 10, 0, 10}, {0, 3, 1, 10}};
    for (const Row& row : rows)
        EXPECT_EQ(WindowsVersionCode({row.platform, row.major, row.minor}), row.code)
            << row.platform << " " << row.major << "." << row.minor;
}

class LookupsTest : public RemovalFixture {};

TEST_F(LookupsTest, FoldersCarryATrailingBackslashOrAreEmpty) {
    auto& machine = sim.Machine();
    EXPECT_EQ(GetMyDocumentsFolder(machine), sim.system().SpecialFolder(platform::csidlPersonal) + "\\");
    int sessionsBefore = sim.system().EndBrowserSessionCount();
    EXPECT_EQ(GetAppDataFolder(machine), sim.system().SpecialFolder(platform::csidlAppData) + "\\");
    EXPECT_EQ(sim.system().EndBrowserSessionCount(), sessionsBefore + 1);
    EXPECT_EQ(GetLocalAppDataFolder(machine), sim.system().SpecialFolder(platform::csidlLocalAppData) + "\\");

    sim.system().SetSpecialFolder(platform::csidlAppData, "");
    sim.system().SetSpecialFolder(platform::csidlPersonal, "");
    EXPECT_EQ(GetAppDataFolder(machine), "");
    EXPECT_EQ(GetMyDocumentsFolder(machine), "");
}

TEST_F(LookupsTest, RegistryStringsNeedOnlyReadAccessAsForAnUnelevatedUser) {
    auto& machine = sim.Machine();
    const std::string programFiles = sim.system().SpecialFolder(platform::csidlProgramFiles);
    sim.registry().DenyFullAccess(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion");
    EXPECT_EQ(GetProgramFilesFolder(machine), programFiles);
    sim.registry().DenyAccess(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion");
    EXPECT_EQ(GetProgramFilesFolder(machine), "");
    sim.registry().SetDword(RegRoot::CurrentUser, "Software\\N", "Number", 5);
    EXPECT_EQ(ReadRegistryString(machine, RegRoot::CurrentUser, "Software\\N", "Number"), "");
    EXPECT_EQ(ReadRegistryString(machine, RegRoot::CurrentUser, "Software\\Missing", "X"), "");
}

}  // namespace
