// The browser table's profile discovery per family, and what it refuses to
// take from another program's profile list.
#include <filesystem>

#include "browsers/ChromiumProfiles.h"
#include "browsers/GeckoProfiles.h"
#include "cleaners/Cleaners.h"
#include "removal/RemovalFixture.h"
#include "run/BrowserCheck.h"
#include "run/BrowserClosing.h"
#include "run/CleanItemCatalogue.h"
#include "run/Dispatch.h"
#include "run/RunController.h"

using namespace nullvane;
using namespace nullvane::browsers;
using nullvane::testing::RemovalFixture;

namespace {

const std::string kLocal = "C:\\Users\\Test\\AppData\\Local\\";
const std::string kRoaming = "C:\\Users\\Test\\AppData\\Roaming\\";
const std::string kEdge = kLocal + "Microsoft\\Edge\\User Data\\";

class BrowserProfilesTest : public RemovalFixture {
protected:
    // A second drive, for folders outside the user's.
    BrowserProfilesTest() { std::filesystem::create_directories(sim.HostRoot() / "D"); }
    void MakeChromiumProfile(const std::string& folder) { sim.MakeFile(folder + "Preferences", "{}"); }
    std::vector<std::string> Folders(const std::vector<TChromiumProfile>& profiles) {
        std::vector<std::string> folders;
        for (const TChromiumProfile& profile : profiles) folders.push_back(profile.Folder);
        return folders;
    }
    // A host link; false where the standard library cannot make one the
    // simulation sees (under Wine, where the Wine tests make them instead).
    bool Link(const std::string& link, const std::string& target) {
#ifdef _WIN32
        (void)link;
        (void)target;
        return false;
#else
        std::filesystem::create_directories(sim.HostPath(link).parent_path());
        std::error_code error;
        std::filesystem::create_directory_symlink(sim.HostPath(target), sim.HostPath(link), error);
        return !error;
#endif
    }
    int LinesWith(const std::string& text) {
        int n = 0;
        for (const auto& line : log.Lines()) n += line.find(text) != std::string::npos;
        return n;
    }
};

TEST_F(BrowserProfilesTest, EdgeProfilesComeFromEveryChannelAndLocalStateButNeverItsOwnOrForeignFolders) {
    MakeChromiumProfile(kEdge + "Default\\");
    MakeChromiumProfile(kEdge + "Profile 1\\");
    MakeChromiumProfile(kEdge + "Work\\");             // named only in Local State
    MakeChromiumProfile(kEdge + "Guest Profile\\");    // the browser empties it itself
    sim.MakeFolder(kEdge + "Bare");                    // named, but holds no profile
    MakeChromiumProfile(kLocal + "Outside\\");
    sim.MakeFile(kEdge + "Local State",
                 R"({"profile":{"info_cache":{"Default":{},"Work":{},"Guest Profile":{},"System Profile":{},)"
                 R"("Bare":{},"..\\..\\Outside":{},"C:\\Users\\Test\\Documents":{},"Gone":{}}}})");
    MakeChromiumProfile(kLocal + "Microsoft\\Edge Beta\\User Data\\Default\\");
    TProfileNotes notes;
    EXPECT_EQ(Folders(ChromiumProfiles(sim.Machine(), *FindBrowser("Microsoft Edge"), &notes)),
              (std::vector<std::string>{kEdge + "Default\\", kEdge + "Profile 1\\", kEdge + "Work\\",
                                        kLocal + "Microsoft\\Edge Beta\\User Data\\Default\\"}));
    EXPECT_EQ(notes, std::vector<std::string>{SkippedProfileNote(kEdge + "Bare", "no Preferences in it")});
    // A Local State that is no JSON, or of another shape, names nothing.
    EXPECT_TRUE(LocalStateProfileNames("{\"profile\":").empty());
    EXPECT_TRUE(LocalStateProfileNames(R"({"profile":{"info_cache":["Work"]}})").empty());
}

TEST_F(BrowserProfilesTest, FoundBrowsersGetTheirFamilysItemsAfterChromeAndTheirItemsDispatchForThem) {
    MakeChromiumProfile(kEdge + "Default\\");
    sim.MakeFile(kRoaming + "librewolf\\profiles.ini", "");
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    run::FillBrowserCategories(tree, sim.Machine());
    auto chrome = tree.FindCategory("Google Chrome");
    auto edge = tree.FindCategory("Microsoft Edge");
    auto libreWolf = tree.FindCategory("LibreWolf");
    ASSERT_TRUE(chrome && edge && libreWolf);
    EXPECT_EQ(*edge, *chrome + 8);  // Chrome's seven items, then Edge
    EXPECT_EQ(*libreWolf, *edge + 8);
    EXPECT_FALSE(tree.FindCategory("Brave"));
    EXPECT_TRUE(tree.FindItem("Microsoft Edge - Stored passwords in Forms"));
    EXPECT_TRUE(tree.FindItem("LibreWolf - Download Manager"));
    EXPECT_EQ(tree.Node(*libreWolf + 9).Text, "Windows");

    run::TDispatch dispatch = run::DispatchOf("Microsoft Edge - Cookies");
    EXPECT_EQ(dispatch.BrowserCleaner, &cleaners::CleanChromiumCookies);
    EXPECT_EQ(dispatch.Browser, FindBrowser("Microsoft Edge"));
    EXPECT_EQ(run::DispatchOf("Microsoft Edge - Download Manager").BrowserCleaner, nullptr);
}

TEST_F(BrowserProfilesTest, GeckoProfilesComeFromTheStoreBuildAndTheForksAndAStoreLinkIsCountedOnce) {
    const std::string store = kLocal + "Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\";
    sim.MakeFile(store + "Roaming\\Mozilla\\Firefox\\Profiles\\s.default\\cookies.sqlite", "1");
    sim.MakeFile(store + "Local\\Mozilla\\Firefox\\Profiles\\s.default\\cache2\\E", "22");
    sim.MakeFile(kRoaming + "librewolf\\Profiles\\w.default\\cookies.sqlite", "333");
    TGeckoProfiles firefox = FindGeckoProfiles(sim.Machine(), MozillaFirefox());
    ASSERT_EQ(firefox.Profiles.size(), 1u);
    EXPECT_EQ(firefox.Profiles[0].LocalFolder, store + "Local\\Mozilla\\Firefox\\Profiles\\s.default");
    EXPECT_EQ(FindGeckoProfiles(sim.Machine(), *FindBrowser("LibreWolf")).Profiles.size(), 1u);

    // The classic folder reached again through the Store build's folder.
    sim.MakeFile(kRoaming + "Mozilla\\Firefox\\Profiles\\c.default\\cookies.sqlite", "4444");
    std::filesystem::remove_all(sim.HostPath(store + "Roaming"));
    if (!Link(store + "Roaming\\Mozilla\\Firefox", kRoaming + "Mozilla\\Firefox")) GTEST_SKIP() << "no host links here";
    auto& test = Run(base::rmTest);
    cleaners::CleanGeckoCookies(test, MozillaFirefox());
    EXPECT_EQ(test.ItemCount, 1);
    EXPECT_EQ(test.ItemBytes, 4u);
}

TEST_F(BrowserProfilesTest, AProfileListNamingADriveRootDocumentsALinkedWayOrNoProfileIsSkippedAndLogged) {
    sim.MakeFile("C:\\Cache\\keep.bin", "x");
    sim.MakeFile("C:\\prefs.js", "x");
    sim.MakeFile("C:\\Users\\Test\\Documents\\thumbnails\\mine.png", "x");
    sim.MakeFile("C:\\Users\\Test\\Documents\\prefs.js", "x");
    sim.MakeFile("D:\\Real\\p\\prefs.js", "x");
    sim.MakeFile("D:\\Real\\p\\cache2\\E", "x");
    if (!Link("D:\\Way", "D:\\Real")) GTEST_SKIP() << "no host links here";
    sim.MakeFile("D:\\NotAProfile\\Cache\\E", "x");
    sim.MakeFile(kRoaming + "Mozilla\\Firefox\\profiles.ini",
                 "[Profile0]\nIsRelative=0\nPath=C:\\\n[Profile1]\nIsRelative=0\nPath=C:/Users/test/documents/\n"
                 "[Profile2]\nIsRelative=0\nPath=D:\\Way\\p\n[Profile3]\nIsRelative=0\nPath=D:\\NotAProfile\n");
    auto& clean = Run(base::rmClean);
    cleaners::CleanGeckoTemporaryInternetFiles(clean, MozillaFirefox());
    cleaners::CleanGeckoPreferences(clean, MozillaFirefox());
    EXPECT_EQ(clean.ItemCount, 0);
    for (const char* path : {"C:\\Cache\\keep.bin", "C:\\prefs.js", "C:\\Users\\Test\\Documents\\thumbnails\\mine.png",
                             "C:\\Users\\Test\\Documents\\prefs.js", "D:\\Real\\p\\cache2\\E", "D:\\NotAProfile\\Cache\\E"})
        EXPECT_TRUE(Exists(path)) << path;
    EXPECT_EQ(LinesWith("Profile folder skipped (a drive root): C:\\"), 2);
    EXPECT_EQ(LinesWith("Profile folder skipped (the Documents folder)"), 2);
    EXPECT_EQ(LinesWith("Profile folder skipped (a link on its way): D:\\Way\\p"), 2);
    EXPECT_EQ(LinesWith("Profile folder skipped (no prefs.js, times.json or places.sqlite in it)"), 2);
}

TEST_F(BrowserProfilesTest, ACacheFolderThatIsALinkGoesAsALinkAndWhatItPointsToStays) {
    MakeChromiumProfile(kEdge + "Default\\");
    sim.MakeFile("D:\\Mine\\precious.doc", "x");
    if (!Link(kEdge + "Default\\Cache", "D:\\Mine")) GTEST_SKIP() << "no host links here";
    sim.MakeFile(kEdge + "Default\\Code Cache\\js\\c", "22");
    auto& test = Run(base::rmTest);
    cleaners::CleanChromiumTemporaryFiles(test, *FindBrowser("Microsoft Edge"));
    EXPECT_EQ(test.ItemCount, 1);
    auto& clean = Run(base::rmClean);
    cleaners::CleanChromiumTemporaryFiles(clean, *FindBrowser("Microsoft Edge"));
    EXPECT_EQ(clean.ItemCount, 1);
    EXPECT_TRUE(Exists("D:\\Mine\\precious.doc"));
    EXPECT_FALSE(std::filesystem::is_symlink(sim.HostPath(kEdge + "Default\\Cache")));
}

TEST_F(BrowserProfilesTest, ATickedBrowserHoldingItsLockRefusesACleanByNameWithWhyItMayRunUnseen) {
    MakeChromiumProfile(kEdge + "Default\\");
    sim.MakeFile(kEdge + "lockfile", "");
    const std::string libreWolf = kRoaming + "librewolf\\Profiles\\w.default\\";
    sim.MakeFile(kRoaming + "librewolf\\profiles.ini", "");
    sim.MakeFile(libreWolf + "parent.lock", "");
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    run::FillBrowserCategories(tree, sim.Machine());
    tree.ClickStateImage(*tree.FindItem("Microsoft Edge - Cookies"));
    tree.ClickStateImage(*tree.FindItem("LibreWolf - Session"));
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmCleanRequested), std::nullopt);  // locks left behind

    sim.files().SetInUse(kEdge + "lockfile");
    auto refusal = run::BrowserRefusal(tree, sim.Machine(), base::rmCleanRequested);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->Browser, FindBrowser("Microsoft Edge"));
    EXPECT_EQ(refusal->Text.substr(0, refusal->Text.find('\n')), "Please close Microsoft Edge firstly!");
    EXPECT_NE(refusal->Text.find("Startup boost"), std::string::npos);
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmTest), std::nullopt);

    sim.files().SetInUse(libreWolf + "parent.lock");
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmUnattended), "Please close LibreWolf firstly!");
}

TEST_F(BrowserProfilesTest, ClosingABrowserAsksOnlyItsOwnWindowsAndWaitsForItsLock) {
    MakeChromiumProfile(kEdge + "Default\\");
    sim.MakeFile(kEdge + "lockfile", "");
    sim.files().SetInUse(kEdge + "lockfile");
    auto& desktop = sim.desktop();
    const auto edgeWindow = desktop.RegisterWindow("Chrome_WidgetWin_1");
    const auto editorWindow = desktop.RegisterWindow("Chrome_WidgetWin_1");  // another program of the same framework
    desktop.SetWindowProcess(edgeWindow, 100);
    desktop.SetWindowProcess(editorWindow, 200);
    desktop.SetProcessImage(100, "MSEDGE.EXE");
    desktop.SetProcessImage(200, "Code.exe");
    const browsers::TBrowser& edge = *FindBrowser("Microsoft Edge");

    // The browser lets go of its profile while the run waits.
    int waitedMs = 0;
    EXPECT_TRUE(run::CloseBrowser(sim.Machine(), edge, [&](const std::function<bool()>& done, int timeoutMs) {
        waitedMs = timeoutMs;
        sim.files().SetInUse(kEdge + "lockfile", false);
        return done();
    }));
    EXPECT_EQ(waitedMs, run::kBrowserCloseWaitMs);
    ASSERT_EQ(desktop.PostedTo(edgeWindow).size(), 1u);
    EXPECT_EQ(desktop.PostedTo(edgeWindow)[0].message, run::kWmClose);
    EXPECT_TRUE(desktop.PostedTo(editorWindow).empty());

    // One that holds on is still running: nothing more is done to it.
    sim.files().SetInUse(kEdge + "lockfile");
    EXPECT_FALSE(run::CloseBrowser(sim.Machine(), edge, [](const std::function<bool()>& done, int) { return done(); }));
    EXPECT_EQ(desktop.PostedTo(edgeWindow).size(), 2u);
}

// A view that answers the offer to close as told, and counts the offers.
class TClosingView final : public run::TRunView {
public:
    std::function<TBrowserCloseAnswer()> Answer;
    int Offers = 0;
    std::vector<std::string> Refusals;
    void AddLogLine(const std::string&) override {}
    void ScrollLogToEnd() override {}
    void ShowCurrentItem(const std::string&) override {}
    void RunStarting(run::TRunPhase, base::TRunMode) override {}
    void RunProgress(int32_t, std::optional<int>) override {}
    void RunEnded(run::TRunEnd, const std::string&) override {}
    void RunRefused(run::TStartOutcome, const std::string& message) override { Refusals.push_back(message); }
    bool ConfirmRemoval(base::TRunMode) override { return true; }
    TBrowserCloseAnswer CloseRefusingBrowser(base::TRunMode, const TBrowser&, const std::string&) override {
        ++Offers;
        return Answer();
    }
};

TEST_F(BrowserProfilesTest, ACleanGoesOnOnceTheBrowserClosedAndOffersToCloseItOnlyOnce) {
    MakeChromiumProfile(kEdge + "Default\\");
    sim.MakeFile(kEdge + "lockfile", "");
    sim.files().SetInUse(kEdge + "lockfile");
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    run::FillBrowserCategories(tree, sim.Machine());
    tree.ClickStateImage(*tree.FindItem("Microsoft Edge - Cookies"));
    TClosingView view;
    run::TRunController runs(sim.Machine(), tree, view);
    runs.Dispatcher = [](base::TRunContext&, const std::string&) {};

    // Closed as the user asked, yet its lock is still held: refused, not asked again.
    view.Answer = [] { return run::TRunView::bcClosed; };
    EXPECT_EQ(runs.RunHere(base::rmUnattended, base::TRunOptions{}), run::TStartOutcome::BrowserOpen);
    EXPECT_EQ(view.Offers, 1);
    EXPECT_EQ(view.Refusals.size(), 1u);

    view.Answer = [&] {
        sim.files().SetInUse(kEdge + "lockfile", false);
        return run::TRunView::bcClosed;
    };
    EXPECT_EQ(runs.RunHere(base::rmUnattended, base::TRunOptions{}), run::TStartOutcome::Started);
    EXPECT_EQ(view.Offers, 2);
    EXPECT_EQ(view.Refusals.size(), 1u);
}

}  // namespace
