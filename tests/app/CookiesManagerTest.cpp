// The Cookies Manager, headless over the sim machine's cookie folder.
#include "app/CookiesManagerForm.h"
#include "app/MainWindowFixture.h"

#include <algorithm>

#include "stores/SQLiteFixture.h"
#include "support/BrowserFixture.h"

using namespace nullvane;
using namespace nullvane::app;
using namespace nullvane::app::testing;
using ui::headless::THeadlessButton;
using ui::headless::THeadlessForm;
using ui::headless::THeadlessSelectionListBox;

namespace {

class CookiesManagerTest : public MainWindowTest {
protected:
    std::string Folder() { return sim.system().SpecialFolder(platform::csidlCookies) + "\\"; }
    std::string DatFile() { return sim.system().ProgramFolder() + "Cookies.dat"; }
    std::string DatText() { return sim.files().ReadAll(DatFile()).ValueOr("<missing>"); }
    void Cookie(const std::string& name, const std::string& site) {
        sim.MakeFile(Folder() + name, "id\n1234\n" + site + "/\n0\n*\n");
    }
    void Manage(std::function<void(THeadlessForm&)> script) {
        Open();
        controls.ScriptModal(TfrmCookiesManager::kFormName, std::move(script));
        main->OpenCookiesManager();
    }
    static THeadlessSelectionListBox& Found(THeadlessForm& form) {
        return *form.FindAll<THeadlessSelectionListBox>().at(0);
    }
    static THeadlessSelectionListBox& Keep(THeadlessForm& form) {
        return *form.FindAll<THeadlessSelectionListBox>().at(1);
    }
    static bool Press(THeadlessForm& form, const std::string& caption) {
        return form.Find<THeadlessButton>(caption)->Click();
    }
    using TList = std::vector<std::string>;
};

TEST_F(CookiesManagerTest, TheLeftListLeavesOutWhatEitherKeepFileKeepsAndTheRightShowsCookiesDat) {
    Cookie("t@shop[1].txt", "shop.example");
    Cookie("t@shop[2].txt", "shop.example");
    Cookie("t@news[1].txt", "news.example");
    Cookie("t@news[2].txt", "news.example");
    Cookie("t@bank[1].txt", "bank.example");
    Cookie("t@bank[2].txt", "bank.example");
    Cookie("t@old.txt.bak", "old.example");  // ".txt" anywhere in the name
    Cookie("t@mail[1].txt", "mail.example");
    sim.MakeFile(Folder() + "index.dat", "");
    sim.MakeFile(DatFile(), "[Cookies to keep]\nCount=3\n0=news.example\n1=\n2=t@shop[2].txt\n");
    sim.MakeFile(sim.system().ProgramFolder() + "Cookies.ini", "[Cookies to Keep]\nCount=1\n0=mail.example\n");
    Manage([&](THeadlessForm& form) {
        EXPECT_EQ(form.Caption(), "Cookies Manager");
        EXPECT_EQ(form.ClientWidth(), 510);
        EXPECT_EQ(form.ClientHeight(), 328);
        // In the folder's listing order, which is the system's; two files of one site show twice.
        TList found = Found(form).Items();
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, (TList{"bank.example", "bank.example", "old.example", "shop.example"}));
        EXPECT_EQ(Keep(form).Items(), (TList{"news.example", "t@shop[2].txt"}));
    });
}

TEST_F(CookiesManagerTest, MovesKeepTheDesignedSelectionsAndOkWritesTheKeepList) {
    Cookie("a[1].txt", "a.example");
    Cookie("b[1].txt", "b.example");
    Cookie("c[1].txt", "c.example");
    Cookie("d[1].txt", "d.example");
    TList saved;
    Manage([&](THeadlessForm& form) {
        auto& found = Found(form);
        auto& keep = Keep(form);
        // The folder's listing order is the system's.
        const TList start = found.Items();
        ASSERT_EQ(start.size(), 4u);
        EXPECT_TRUE(Press(form, "Add         ->"));  // nothing selected: nothing moves
        EXPECT_EQ(keep.Count(), 0);
        found.Select(1);
        Press(form, "Add         ->");
        EXPECT_EQ(found.Items(), (TList{start[0], start[2], start[3]}));
        EXPECT_EQ(found.SelectedIndex(), 1);  // the entry after the moved one
        EXPECT_EQ(keep.SelectedIndex(), 0);
        found.Select(2);
        Press(form, "Add         ->");  // the last entry: the selection goes to the first
        EXPECT_EQ(found.SelectedIndex(), 0);
        EXPECT_EQ(keep.Items(), (TList{start[1], start[3]}));
        keep.DoubleClick(0);
        EXPECT_EQ(found.Items(), (TList{start[0], start[2], start[1]}));
        EXPECT_EQ(found.SelectedIndex(), 2);  // the entry that came back
        found.DoubleClick(0);
        EXPECT_EQ(keep.Items(), (TList{start[3], start[0]}));
        keep.Select(1);
        Press(form, "Remove <-");
        EXPECT_EQ(keep.Items(), (TList{start[3]}));
        EXPECT_EQ(keep.SelectedIndex(), 0);
        Press(form, "Add All    ->");
        EXPECT_EQ(found.Count(), 0);
        saved = keep.Items();
        EXPECT_EQ(saved, (TList{start[3], start[2], start[1], start[0]}));
        EXPECT_TRUE(Press(form, "&OK"));
    });
    EXPECT_EQ(DatText(), "[Cookies to keep]\r\nCount=4\r\n0=" + saved[0] + "\r\n1=" + saved[1] + "\r\n2=" + saved[2] +
                             "\r\n3=" + saved[3] + "\r\n");
}

TEST_F(CookiesManagerTest, OkAfterRemovingTheLastOfThreeLeavesTheOldKeyAndCancelSavesNothing) {
    const std::string three = "[Cookies to keep]\r\nCount=3\r\n0=x.example\r\n1=y.example\r\n2=z.example\r\n";
    sim.MakeFile(DatFile(), three);
    Manage([&](THeadlessForm& form) {
        Press(form, "Remove All <-");
        EXPECT_EQ(Found(form).SelectedIndex(), 0);
        EXPECT_TRUE(Press(form, "&Cancel"));
    });
    EXPECT_EQ(DatText(), three);
    Manage([&](THeadlessForm& form) {
        Keep(form).Select(2);
        Press(form, "Remove <-");
        EXPECT_EQ(Found(form).SelectedIndex(), 0);  // its only entry
        Press(form, "&OK");
    });
    EXPECT_EQ(DatText(), "[Cookies to keep]\r\nCount=2\r\n0=x.example\r\n1=y.example\r\n2=z.example\r\n");
}

TEST_F(CookiesManagerTest, ViewShowsTheFileTheSelectedEntryCameFromEvenAfterItsTripToTheRight) {
    sim.MakeFile(Folder() + "t@a[1].txt", "name\r\nvalue\r\na.example/\r\n9\n");
    sim.MakeFile(DatFile(), "[Cookies to keep]\nCount=2\n0=b.example\n1=t@c[1].txt\n");
    sim.MakeFile(Folder() + "t@c[1].txt", "c\nv\nc.example/\n");
    Manage([&](THeadlessForm& form) {
        auto& found = Found(form);
        Press(form, "&View");  // nothing selected
        found.Select(0);
        Press(form, "Add         ->");
        Keep(form).Select(2);
        Press(form, "Remove <-");
        Press(form, "Remove All <-");
        ASSERT_EQ(found.Items(), (TList{"a.example", "b.example", "t@c[1].txt"}));
        for (int i = 0; i < 3; ++i) {
            found.Select(i);
            Press(form, "&View");
        }
    });
    const auto asked = sim.dialogs().Asked();
    ASSERT_EQ(asked.size(), 2u);  // a site from the keep list names no file
    EXPECT_EQ(asked[0].caption, "a.example");
    EXPECT_EQ(asked[0].text, "\r\nname\r\nvalue\r\na.example/\r\n9");
    EXPECT_EQ(asked[0].flags, platform::mbOk | platform::mbIconInformation);
    EXPECT_EQ(asked[1].caption, "t@c[1].txt");
    EXPECT_EQ(asked[1].text, "\r\nc\r\nv\r\nc.example/");
}

TEST_F(CookiesManagerTest, AKeepListThatCannotBeWrittenIsReportedAndTheWindowStaysOpen) {
    Cookie("a[1].txt", "a.example");
    const std::string old = "[Cookies to keep]\r\nCount=0\r\n";
    sim.MakeFile(DatFile(), old);
    ASSERT_TRUE(sim.files().SetAttributes(DatFile(), platform::faReadOnly));
    Manage([&](THeadlessForm& form) {
        Press(form, "Add All    ->");
        Press(form, "&OK");
        EXPECT_EQ(form.ModalResult(), ui::mrNone);
        EXPECT_EQ(Keep(form).Items(), (TList{"a.example"}));
    });
    const auto asked = sim.dialogs().Asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Unable to write to " + DatFile());
    EXPECT_EQ(asked[0].flags, platform::mbOk | platform::mbIconError);
    EXPECT_EQ(DatText(), old);
}

TEST_F(CookiesManagerTest, WithoutACookieFolderTheKeepListCanStillBeEdited) {
    sim.system().SetSpecialFolder(platform::csidlCookies, "");
    sim.MakeFile(DatFile(), "[Cookies to keep]\nCount=1\n0=x.example\n");
    Manage([&](THeadlessForm& form) {
        EXPECT_EQ(Found(form).Count(), 0);
        Keep(form).DoubleClick(0);
        Press(form, "&OK");
    });
    EXPECT_EQ(DatText(), "[Cookies to keep]\r\nCount=0\r\n0=x.example\r\n");
}

TEST_F(CookiesManagerTest, SitesCookiesDatCannotHoldAreNotOfferedAndCannotBeMovedToTheKeepList) {
    Cookie("ok[1].txt", "ok.example");
    Cookie("cr[1].txt", "a\rb.example");
    Cookie("nul[1].txt", std::string("a\0b.example", 11));
    Cookie("sec[1].txt", "[x.example");
    Cookie("quo[1].txt", "\"q.example\"");
    Cookie("apo[1].txt", "'q.example'");
    sim.MakeFile(DatFile(), "[Cookies to keep]\nCount=1\n0=[kept.example\n");
    Manage([&](THeadlessForm& form) {
        auto& found = Found(form);
        auto& keep = Keep(form);
        EXPECT_EQ(found.Items(), (TList{"ok.example"}));
        // An entry written by hand may go left but not come back.
        keep.DoubleClick(0);
        ASSERT_EQ(found.Items(), (TList{"ok.example", "[kept.example"}));
        found.Select(1);
        Press(form, "Add         ->");
        found.DoubleClick(1);
        EXPECT_EQ(keep.Count(), 0);
        Press(form, "Add All    ->");
        EXPECT_EQ(found.Items(), (TList{"[kept.example"}));
        EXPECT_EQ(keep.Items(), (TList{"ok.example"}));
        Press(form, "&OK");
    });
    EXPECT_EQ(DatText(), "[Cookies to keep]\r\nCount=1\r\n0=ok.example\r\n");
}

TEST_F(CookiesManagerTest, BrowserSitesShowOnceAfterTheCookieFilesAndViewNamesTheBrowsersHoldingThem) {
    Cookie("t@shop[1].txt", "shop.example");
    const std::string edge = "C:\\Users\\Test\\AppData\\Local\\Microsoft\\Edge\\User Data\\Default\\";
    const std::string wolf = "C:\\Users\\Test\\AppData\\Roaming\\librewolf\\Profiles\\w.default\\";
    sim.MakeFile(edge + "Preferences", "{}");
    sim.MakeFolder(edge + "Network");
    auto chromiumRow = [](const std::string& host, const std::string& name) {
        return "INSERT INTO cookies VALUES (0, '" + host + "', '', '" + name +
               "', 'v', x'', '/', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);";
    };
    nullvane::testing::MakeBrowserDatabase(
        stores::testing::Utf8(sim.HostPath(edge + "Network\\Cookies")), "Chromium Network\\Cookies", false,
        chromiumRow(".Shared.example", "a") + chromiumRow("shared.example", "b") + chromiumRow("edge.example", "c") +
            chromiumRow("www.kept.example", "d"));
    sim.MakeFile(wolf + "prefs.js", "");
    nullvane::testing::MakeBrowserDatabase(
        stores::testing::Utf8(sim.HostPath(wolf + "cookies.sqlite")), "Firefox cookies.sqlite", true,
        "INSERT INTO moz_cookies (name, host) VALUES ('a', '.shared.example'), ('b', 'wolf.example'),"
        " ('c', 'kept.example');");
    // A kept site keeps its subdomains in the browsers, so none of them is offered.
    sim.MakeFile(DatFile(), "[Cookies to keep]\nCount=1\n0=kept.example\n");
    Manage([&](THeadlessForm& form) {
        auto& found = Found(form);
        EXPECT_EQ(found.Items(), (TList{"shop.example", "edge.example", "shared.example", "wolf.example"}));
        found.Select(2);
        Press(form, "&View");
        found.Select(2);
        Press(form, "Add         ->");
        EXPECT_EQ(Keep(form).Items(), (TList{"kept.example", "shared.example"}));
        Keep(form).DoubleClick(1);
        found.Select(3);  // back at the end, and still the browsers' site
        Press(form, "&View");
    });
    const auto asked = sim.dialogs().Asked();
    ASSERT_EQ(asked.size(), 2u);
    for (const auto& view : asked) {
        EXPECT_EQ(view.caption, "shared.example");
        EXPECT_EQ(view.text, "Browsers holding cookies of this site:\r\nMicrosoft Edge\r\nLibreWolf");
        EXPECT_EQ(view.flags, platform::mbOk | platform::mbIconInformation);
    }
}

}  // namespace
