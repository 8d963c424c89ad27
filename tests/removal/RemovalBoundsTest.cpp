// What a Clean must never do, however a folder is written or linked: climb
// out of the folder it was given, skip the questions for a drive root or the
// documents folder, follow a link elsewhere, or overwrite shared data.
#include <filesystem>
#include <string>
#include <vector>

#include "customlists/RunDataSection.h"
#include "removal/FileRemoval.h"
#include "removal/NormalFolderPath.h"
#include "RemovalFixture.h"

using namespace nullvane;
using namespace nullvane::removal;
using nullvane::testing::RemovalFixture;
namespace fs = std::filesystem;

namespace {

class RemovalBoundsTest : public RemovalFixture {
protected:
    void WriteList(const std::vector<std::string>& entries) {
        std::string text = "[<New List>]\r\n";
        for (const auto& entry : entries) text += entry + "\r\n";
        sim.MakeFile(sim.system().ProgramFolder() + "Clist.dat", text);
    }
    base::TRunContext& RunList(base::TRunMode mode) {
        auto& run = Run(mode);
        customlists::RunDataSection(run, "Clist.dat", "Custom Lists - <New List>");
        return run;
    }
    // False when the host cannot make the link (the Wine tests cover it there).
    bool Link(const std::string& target, const std::string& link, bool folder) {
        std::error_code error;
        if (folder)
            fs::create_directory_symlink(sim.HostPath(target), sim.HostPath(link), error);
        else
            fs::create_symlink(sim.HostPath(target), sim.HostPath(link), error);
        return !error;
    }
};

TEST(NormalFolderPathTest, GivesTheOneSpellingOrRefusesTextThatLeadsElsewhere) {
    EXPECT_EQ(NormalFolderPath("C:\\\\"), "C:\\");
    EXPECT_EQ(NormalFolderPath("C:\\/"), "C:\\");
    EXPECT_EQ(NormalFolderPath("C:\\."), "C:\\");
    EXPECT_EQ(NormalFolderPath("c:/Users//Ann/./Documents/."), "c:\\Users\\Ann\\Documents");
    EXPECT_EQ(NormalFolderPath("C:\\Users\\Ann\\Documents. "), "C:\\Users\\Ann\\Documents");
    EXPECT_EQ(NormalFolderPath("\\\\server\\share\\\\dir\\"), "\\\\server\\share\\dir");
    for (const char* refused : {"C:\\target/../canary", "C:\\target/..", "C:\\a\\..\\b", "C:\\a\\...", "C:",
                                "C:Temp", "\\Temp", "Temp", "", "\\\\?\\C:\\x", "\\\\server", "%WINDIR%\\Temp"})
        EXPECT_FALSE(NormalFolderPath(refused)) << refused;
}

TEST_F(RemovalBoundsTest, ListEntriesThatClimbOutWithEitherSeparatorRemoveNothing) {
    sim.dialogs().SetDefaultAnswer(platform::idYes);
    sim.MakeFile("C:\\canary\\alive.txt", "alive");
    sim.MakeFile("C:\\target\\t.txt", "t");
    sim.MakeFile(sim.system().WindowsFolder() + "\\x\\w.txt", "w");
    WriteList({"DelFile1=C:\\target/../canary", "DelFile2=C:\\target/..", "DelFile3=%windir%\\../canary",
               "DelFile4=C:\\target/..,*.*", "DelFile5=%windir%\\x/..\\x"});
    auto& run = RunList(base::rmClean);
    EXPECT_EQ(run.ItemCount, 0);
    EXPECT_EQ(Read("C:\\canary\\alive.txt"), "alive");
    EXPECT_TRUE(Exists("C:\\target\\t.txt"));
    EXPECT_TRUE(Exists(sim.system().WindowsFolder() + "\\x\\w.txt"));
}

TEST_F(RemovalBoundsTest, DriveRootAndDocumentsWrittenAnotherWayAreStillAskedAbout) {
    sim.MakeFile("C:\\keep.txt", "keep");
    std::string documents = sim.system().SpecialFolder(platform::csidlPersonal);  // C:\Users\Test\Documents
    sim.MakeFile(documents + "\\letter.doc", "letter");
    std::string lowered = "c:\\users\\TEST\\\\documents";
    for (const std::string& folder : {std::string("C:\\\\"), std::string("C:\\/"), std::string("C:\\."),
                                      documents + "\\.", lowered, documents + "/"}) {
        sim.dialogs().ClearAsked();
        int32_t count = 0;
        CleanFolder(Run(base::rmClean), folder);
        count = LastRun().ItemCount;  // every question answered No
        EXPECT_EQ(sim.dialogs().AskedCount(), 1u) << folder;
        EXPECT_EQ(count, 0) << folder;
    }
    EXPECT_EQ(Read("C:\\keep.txt"), "keep");
    EXPECT_EQ(Read(documents + "\\letter.doc"), "letter");
    // The question names the folder in its one spelling.
    EXPECT_EQ(sim.dialogs().Asked().back().text,
              "Do you want to delete all files and folders under C:\\Users\\Test\\Documents\\?");
}

TEST_F(RemovalBoundsTest, NamedListFolderThatIsALinkIsNotWalkedAndOnlyTheLinkGoes) {
    sim.MakeFile("C:\\Outside\\precious.doc", "precious");
    sim.MakeFolder("C:\\List");
    if (!Link("C:\\Outside", "C:\\List\\link", true)) GTEST_SKIP() << "no symbolic links on this host";
    WriteList({"DelFile1=C:\\List\\link,*.*", "DelFile2=C:\\List\\link"});
    EXPECT_EQ(RunList(base::rmTest).ItemCount, 0);
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(RunList(base::rmClean).ItemCount, 0);
    EXPECT_EQ(Read("C:\\Outside\\precious.doc"), "precious");
    EXPECT_FALSE(fs::exists(fs::symlink_status(sim.HostPath("C:\\List") / "link")));
}

TEST_F(RemovalBoundsTest, FileThatResolvesOutsideTheWalkedFolderIsNeitherWrittenNorDeletedNorCounted) {
    sim.MakeFile("C:\\Outside\\secret.txt", "secret");
    sim.MakeFile("C:\\Temp\\junk.tmp", "junk");
    if (!Link("C:\\Outside\\secret.txt", "C:\\Temp\\innocent.txt", false)) GTEST_SKIP() << "no symbolic links";
    Options.OverwriteFile = true;
    Options.OverwriteNumber = 1;
    int32_t count = 0;
    CleanFolder(Run(base::rmClean), "C:\\Temp");
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 1);
    EXPECT_EQ(Read("C:\\Outside\\secret.txt"), "secret");
    EXPECT_FALSE(Exists("C:\\Temp\\junk.tmp"));
}

TEST_F(RemovalBoundsTest, FileWithAnotherNameIsDeletedWithoutOverwritingTheSharedData) {
    sim.MakeFile("C:\\Other\\kept.txt", "shared data");
    sim.MakeFolder("C:\\Temp");
    std::error_code error;
    fs::create_hard_link(sim.HostPath("C:\\Other\\kept.txt"), sim.HostPath("C:\\Temp") / "second.txt", error);
    if (error || fs::hard_link_count(sim.HostPath("C:\\Other\\kept.txt"), error) < 2)
        GTEST_SKIP() << "no hard links on this host";
    Options.OverwriteFile = true;
    Options.OverwriteNumber = 3;
    int32_t count = 0;
    CleanFolder(Run(base::rmClean), "C:\\Temp");
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(Exists("C:\\Temp\\second.txt"));
    EXPECT_EQ(Read("C:\\Other\\kept.txt"), "shared data");
}

TEST_F(RemovalBoundsTest, EntryLongerThanTheRunnerReadsIsSkippedNotCut) {
    // The first 2047 characters name a folder that exists; the whole entry
    // names one below it that does not.
    std::string folder = "C:\\Keep";
    while (folder.size() + 201 <= 2047) folder += "\\" + std::string(200, 'd');
    folder += "\\" + std::string(2047 - folder.size() - 1, 'e');
    ASSERT_EQ(folder.size(), 2047u);
    sim.MakeFile(folder + "\\precious.doc", "precious");
    WriteList({"DelFile1=" + folder + "\\Gone"});
    auto& run = RunList(base::rmClean);
    EXPECT_EQ(run.ItemCount, 0);
    EXPECT_EQ(Read(folder + "\\precious.doc"), "precious");
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_NE(log.Lines()[0].find("DelFile1"), std::string::npos);
}

}  // namespace
