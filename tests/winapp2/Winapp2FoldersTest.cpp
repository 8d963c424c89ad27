// Where a winapp2.ini folder leads, and which folders the gate refuses.
#include <gtest/gtest.h>

#include "platform/sim/SimMachine.h"
#include "winapp2/Winapp2Folders.h"

using namespace nullvane;
using namespace nullvane::winapp2;

namespace {

class Winapp2FoldersTest : public ::testing::Test {
protected:
    Winapp2FoldersTest() {
        sim.system().SetSpecialFolder(platform::csidlProgramFiles, "C:\\Program Files");
        sim.system().SetSpecialFolder(platform::csidlProgramFilesX86, "C:\\Program Files (x86)");
        sim.system().SetSpecialFolder(platform::csidlCommonAppData, "C:\\ProgramData");
        sim.system().SetSpecialFolder(platform::csidlCommonDocuments, "C:\\Users\\Public\\Documents");
    }
    std::vector<std::string> Paths(const std::string& folder) {
        std::vector<std::string> paths;
        for (const auto& expanded : ExpandWinapp2Folder(sim.Machine(), folder).Folders) paths.push_back(expanded.Path);
        return paths;
    }
    platform::sim::SimMachine sim;
};

}  // namespace

TEST_F(Winapp2FoldersTest, AVariableAtTheStartExpandsToEachOfItsFoldersAndAnyOtherFormIsRefused) {
    EXPECT_EQ(Paths("%AppData%\\Tool\\Cache\\"), std::vector<std::string>{"C:\\Users\\Test\\AppData\\Roaming\\Tool\\Cache"});
    EXPECT_EQ(Paths("%programfiles%\\Tool"),
              (std::vector<std::string>{"C:\\Program Files\\Tool", "C:\\Program Files (x86)\\Tool"}));
    EXPECT_EQ(Paths("%LocalLowAppData%\\Tool"), std::vector<std::string>{"C:\\Users\\Test\\AppData\\LocalLow\\Tool"});
    EXPECT_EQ(Paths("%Public%\\Tool"), std::vector<std::string>{"C:\\Users\\Public\\Tool"});
    EXPECT_EQ(Paths("%SystemDrive%\\Temp"), std::vector<std::string>{"C:\\Temp"});
    EXPECT_TRUE(ExpandWinapp2Folder(sim.Machine(), "%WinDir%\\Temp").Folders.at(0).SystemArea);
    EXPECT_FALSE(ExpandWinapp2Folder(sim.Machine(), "%UserProfile%\\Temp").Folders.at(0).SystemArea);
    for (const char* refused : {"C:\\Tool", "%Steam%\\logs", "%AppData", "%AppData%Tool", "%AppData%\\%Temp%"})
        EXPECT_TRUE(ExpandWinapp2Folder(sim.Machine(), refused).Refusal) << refused;
}

TEST_F(Winapp2FoldersTest, TheGateRefusesGuardedFoldersInstallerCachesAlwaysAndSystemFoldersUnlessElevated) {
    auto refusal = [&](const std::string& folder, bool elevated) {
        return FolderRefusal(sim.Machine(), ExpandWinapp2Folder(sim.Machine(), folder).Folders.at(0), elevated);
    };
    EXPECT_EQ(refusal("%AppData%", true), "a shell folder");
    EXPECT_EQ(refusal("%SystemDrive%\\", true), "a drive root");
    EXPECT_EQ(refusal("%Documents%", true), "the Documents folder");
    EXPECT_EQ(refusal("%ProgramData%\\Package Cache\\{1234}", true), "the installers' package cache");
    EXPECT_EQ(refusal("%WinDir%\\Installer", true), "Windows' installer cache");
    EXPECT_TRUE(refusal("%WinDir%\\Temp", false));
    EXPECT_FALSE(refusal("%WinDir%\\Temp", true));
    EXPECT_TRUE(refusal("%ProgramFiles%\\Tool\\logs", false));
    EXPECT_FALSE(refusal("%AppData%\\Tool\\Cache", false));
    EXPECT_FALSE(refusal("%ProgramData%\\Package Cachet", true));
}
