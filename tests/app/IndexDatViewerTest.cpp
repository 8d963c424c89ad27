// The Index.dat viewer, headless over the sim machine and index files built
// byte by byte.
#include "app/IndexDatViewerForm.h"
#include "app/MainWindowFixture.h"
#include "app/WebAddresses.h"
#include "indexdat/IndexDatBuilder.h"

using namespace nullvane;
using namespace nullvane::app;
using namespace nullvane::app::testing;
using ui::headless::THeadlessButton;
using ui::headless::THeadlessEdit;
using ui::headless::THeadlessForm;
using ui::headless::THeadlessLabel;
using ui::headless::THeadlessProgressBar;
using ui::headless::THeadlessReportListView;

namespace {

constexpr char kFile[] = "C:\\Data\\index.dat";
// 2020-01-02 03:04:05 UTC.
constexpr uint64_t kJan2 = 132224078450000000ULL;

// Three "URL " records, a "LEAK" whose time is no date and a "REDR", and one
// entry marked free that points at a record all the same.
std::string FiveRecords() {
    indexdat::testing::TIndexDatBuilder image(0x10000);
    image.FirstTable(0x4000).Table(0x4000, 8, 0);
    image.Entry(0x4000, 0, 0x5000).UrlRecord(0x5000, "URL ", kJan2, "http://one.example/");
    image.Entry(0x4000, 1, 0x5200).UrlRecord(0x5200, "URL ", kJan2, "HTTPS://two.example/");
    image.Entry(0x4000, 2, 0x5400).UrlRecord(0x5400, "URL ", kJan2, "Visited: test@http://three.example/");
    image.Entry(0x4000, 3, 0x5600).UrlRecord(0x5600, "LEAK", ~0ULL, "ftp://four.example/file");
    image.Entry(0x4000, 4, 0x5800).RedirectRecord(0x5800, kJan2, "C:\\Windows\\notepad.exe");
    image.Entry(0x4000, 5, 0x5A00, 3).UrlRecord(0x5A00, "URL ", kJan2, "http://free.example/");
    return image.Image();
}

class IndexDatViewerTest : public MainWindowTest {
protected:
    void View(std::function<void(THeadlessForm&)> script) {
        Open();
        controls.ScriptModal(TfrmIndexDatViewer::kFormName, std::move(script));
        main->OpenIndexDatViewer();
    }
    static THeadlessEdit& FileName(THeadlessForm& form) { return *form.FindAll<THeadlessEdit>().at(0); }
    static THeadlessReportListView& List(THeadlessForm& form) { return *form.FindAll<THeadlessReportListView>().at(0); }
    static THeadlessButton& Button(THeadlessForm& form, const std::string& caption) {
        return *form.Find<THeadlessButton>(caption);
    }
    // The number next to "Total Record:".
    static std::string Total(THeadlessForm& form) { return form.FindAll<THeadlessLabel>().at(1)->Caption(); }
    std::vector<std::string> Rows(THeadlessForm& form) {
        std::vector<std::string> rows;
        auto& list = List(form);
        for (int i = 0; i < list.ItemCount(); ++i) {
            const ui::TListItemData item = list.Item(i);
            rows.push_back(std::to_string(item.ImageIndex) + " " + item.Caption + " | " +
                           (item.SubItems.empty() ? "" : item.SubItems[0]));
        }
        return rows;
    }
};

TEST_F(IndexDatViewerTest, ShowRefusesAnyNameButAnExistingDatFileAndNamesTheCacheIndexAtFirst) {
    sim.MakeFile("C:\\Data\\notes.txt", "x");
    sim.MakeFolder("C:\\Data\\folder.dat");
    sim.MakeFile("C:\\Data\\lower.dat", FiveRecords());
    View([&](THeadlessForm& form) {
        EXPECT_EQ(form.Caption(), "Index.dat file viewer");
        EXPECT_EQ(form.ClientWidth(), 676);
        EXPECT_EQ(form.ClientHeight(), 501);
        EXPECT_EQ(FileName(form).Text(),
                  sim.system().SpecialFolder(platform::csidlInternetCache) + "\\Content.IE5\\index.dat");
        for (const char* refused : {"", "C:\\Data\\folder.dat", "C:\\Data\\notes.txt", "C:\\Data\\missing.dat"}) {
            FileName(form).Type(refused);
            Button(form, "&Show").Click();
            EXPECT_TRUE(FileName(form).Focused()) << refused;
        }
        EXPECT_EQ(List(form).ItemCount(), 0);
        EXPECT_FALSE(form.Find<THeadlessProgressBar>("0%")->Visible());  // nothing was read
        sim.dialogs().QueueOpenAnswer(std::nullopt);
        sim.dialogs().QueueOpenAnswer("C:\\Data\\lower.dat");
        Button(form, "...").Click();  // cancelled: the name stays
        EXPECT_EQ(FileName(form).Text(), "C:\\Data\\missing.dat");
        Button(form, "...").Click();
        Button(form, "&Show").Click();
        EXPECT_EQ(List(form).ItemCount(), 5);
    });
    ASSERT_EQ(sim.dialogs().OpenRequests().size(), 2u);
    EXPECT_EQ(sim.dialogs().OpenRequests()[0].filter, "Index dat file(*.dat)|*.DAT");
    const auto asked = sim.dialogs().Asked();
    ASSERT_EQ(asked.size(), 4u);
    for (const auto& box : asked) {
        EXPECT_EQ(box.text, "Please enter the correct index.dat file name.");
        EXPECT_EQ(box.caption, "Index.dat file viewer");
        EXPECT_EQ(box.flags, platform::mbOk);
    }
}

TEST_F(IndexDatViewerTest, FiveRecordsAreListedWithTheirLocalTimesOrNotAvailable) {
    sim.MakeFile(kFile, FiveRecords());
    sim.system().SetUtcOffsetMinutes(60);
    View([&](THeadlessForm& form) {
        auto& list = List(form);
        EXPECT_EQ(list.Columns(), (std::vector<ui::TListColumn>{{"URL", 380}, {"Last Modified", 120}}));
        EXPECT_TRUE(list.RowSelect());
        EXPECT_EQ(list.SmallImageCount(), 1);
        EXPECT_EQ(list.Hint(), "Double click the item to link to the URL");
        EXPECT_EQ(Total(form), "0");
        FileName(form).Type(kFile);
        Button(form, "&Show").Click();
        EXPECT_EQ(Rows(form), (std::vector<std::string>{
                                  "0 http://one.example/ | 2020-01-02 04:04:05",
                                  "0 HTTPS://two.example/ | 2020-01-02 04:04:05",
                                  "0 Visited: test@http://three.example/ | 2020-01-02 04:04:05",
                                  "0 ftp://four.example/file | Not Available",
                                  "0 C:\\Windows\\notepad.exe | 2020-01-02 04:04:05",
                              }));
        EXPECT_EQ(Total(form), "5");
        auto* progress = form.Find<THeadlessProgressBar>("100%");
        ASSERT_TRUE(progress);
        EXPECT_TRUE(progress->Visible());
        // A second Show replaces the rows, never adds to them.
        Button(form, "&Show").Click();
        EXPECT_EQ(list.ItemCount(), 5);
        EXPECT_EQ(Total(form), "5");
    });
}

TEST_F(IndexDatViewerTest, DoubleClickOpensOnlyWebAndFtpAddressesAndMoreOpensTheProductsPage) {
    sim.MakeFile(kFile, FiveRecords());
    View([&](THeadlessForm& form) {
        FileName(form).Type(kFile);
        Button(form, "&Show").Click();
        for (int row = 0; row < 5; ++row) List(form).DoubleClick(row);
        Button(form, "&More Index.dat").Click();
    });
    EXPECT_EQ(controls.HeadlessApplication().Opened(),
              (std::vector<std::string>{"http://one.example/", "HTTPS://two.example/", "ftp://four.example/file",
                                        kIndexDatPageUrl}));
    EXPECT_FALSE(IsOpenableAddress("http:/x"));
    EXPECT_FALSE(IsOpenableAddress("file://C:/Windows/notepad.exe"));
    EXPECT_TRUE(IsOpenableAddress("Ftp://x"));
}

TEST_F(IndexDatViewerTest, CtrlAltSShowsTheHiddenDeleteWhichWipesTheRecordsAndCloses) {
    sim.MakeFile(kFile, FiveRecords());
    bool closedByDelete = false;
    View([&](THeadlessForm& form) {
        auto& remove = Button(form, "&Delete");
        EXPECT_FALSE(remove.Visible());
        EXPECT_FALSE(remove.Click());
        // The entry is invisible in its menu, yet its shortcut answers.
        ASSERT_TRUE(form.OwnPopupMenu());
        EXPECT_FALSE(form.OwnPopupMenu()->Items.at(0)->Visible);
        EXPECT_FALSE(form.PressShortCut({true, false, false, 'S'}));
        EXPECT_TRUE(form.PressShortCut({true, true, false, 'S'}));
        EXPECT_TRUE(remove.Visible());
        FileName(form).Type(kFile);
        EXPECT_TRUE(remove.Click());
        closedByDelete = form.ModalResult() == ui::mrCancel;
    });
    EXPECT_TRUE(closedByDelete);
    const std::string after = sim.files().ReadAll(kFile).Value();
    const std::string before = FiveRecords();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, 0x4010), before.substr(0, 0x4010));  // header and the table's own header
    EXPECT_EQ(after.find_first_not_of('\0', 0x4010), std::string::npos);
}

TEST_F(IndexDatViewerTest, DeleteThatLeavesTheFileSaysWhyBeforeClosing) {
    sim.MakeFile(kFile, "Notes, not a cache file.\r\n");
    bool closed = false;
    View([&](THeadlessForm& form) {
        ASSERT_TRUE(form.PressShortCut({true, true, false, 'S'}));
        FileName(form).Type(kFile);
        Button(form, "&Delete").Click();
        closed = form.ModalResult() == ui::mrCancel;
    });
    EXPECT_TRUE(closed);
    const auto asked = sim.dialogs().Asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, std::string(kFile) + "\nnot overwritten: not an index.dat (no cache signature at its start)");
    EXPECT_EQ(asked[0].caption, "Index.dat file viewer");
    EXPECT_EQ(sim.files().ReadAll(kFile).Value(), "Notes, not a cache file.\r\n");
}

TEST_F(IndexDatViewerTest, ShowAndDeleteAreOffWhileReadingAndClosingStopsTheRead) {
    // Enough entries that the read lets many messages through.
    indexdat::testing::TIndexDatBuilder image(0x60000);
    image.FirstTable(0x4000).Table(0x4000, 64, 0);
    for (int i = 0; i < 1000; ++i) image.Entry(0x4000, i, 0x8000 + 0x100 * i).UrlRecord(0x8000 + 0x100 * i, "URL ", kJan2, "http://a.example/");
    sim.MakeFile(kFile, image.Image());
    int messages = 0;
    bool offWhileReading = false;
    bool secondShowRan = false;
    int totalAfter = -1;
    View([&](THeadlessForm& form) {
        auto& show = Button(form, "&Show");
        auto& remove = Button(form, "&Delete");
        ASSERT_TRUE(form.PressShortCut({true, true, false, 'S'}));
        controls.HeadlessApplication().onProcessMessage = [&] {
            if (++messages != 10) return;
            offWhileReading = !show.Enabled() && !remove.Enabled();
            secondShowRan = show.Click() || remove.Click();
            // The user closes the window in the middle of the read.
            Button(form, "&Close").Click();
        };
        FileName(form).Type(kFile);
        show.Click();
        controls.HeadlessApplication().onProcessMessage = nullptr;
        totalAfter = std::stoi(Total(form));
        EXPECT_TRUE(show.Enabled());
    });
    EXPECT_TRUE(offWhileReading);
    EXPECT_FALSE(secondShowRan);
    EXPECT_EQ(messages, 10);  // the read ended at the message that closed the window
    EXPECT_EQ(totalAfter, 0);
    // Nothing was wiped under the read.
    EXPECT_EQ(sim.files().ReadAll(kFile).Value(), image.Image());
}

}  // namespace
