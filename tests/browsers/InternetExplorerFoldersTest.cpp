#include "browsers/InternetExplorerFolders.h"
#include "removal/RemovalFixture.h"

using namespace nullvane;
using namespace nullvane::browsers;
using nullvane::platform::RegRoot;
using nullvane::testing::RemovalFixture;

namespace {

class InternetExplorerFoldersTest : public RemovalFixture {
protected:
    const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
};

TEST(JoinPathTest, PutsExactlyOneSeparatorAndKeepsAnEmptyFolderEmpty) {
    EXPECT_EQ(JoinPath("C:\\Data", "index.dat"), "C:\\Data\\index.dat");
    EXPECT_EQ(JoinPath("C:\\Data\\\\", "\\DOMStore"), "C:\\Data\\DOMStore");
    EXPECT_EQ(JoinPath("C:\\", "index.dat"), "C:\\index.dat");
    EXPECT_EQ(JoinPath("", "index.dat"), "");  // never "\index.dat" nor a relative name
}

TEST_F(InternetExplorerFoldersTest, LocalFolderIsGivenOnlyWhenItExistsAndNeverFromAnEmptyLookup) {
    std::string local = sim.system().SpecialFolder(platform::csidlLocalAppData);
    EXPECT_EQ(GetIELocalFolder(sim.Machine()), "");
    sim.MakeFolder(local + "\\Microsoft\\Internet Explorer\\Recovery");
    EXPECT_EQ(GetIELocalFolder(sim.Machine()), local + "\\Microsoft\\Internet Explorer");
    EXPECT_EQ(GetIERecoveryFolder(sim.Machine()), local + "\\Microsoft\\Internet Explorer\\Recovery");

    // With no "Local AppData" recorded, a folder of that name under the current one is not taken.
    sim.registry().SetString(RegRoot::CurrentUser, shellFolders, "Local AppData", "");
    sim.MakeFolder("C:\\Microsoft\\Internet Explorer\\Recovery");
    EXPECT_EQ(GetIELocalFolder(sim.Machine()), "");
    EXPECT_EQ(GetIERecoveryFolder(sim.Machine()), "");
}

}  // namespace
