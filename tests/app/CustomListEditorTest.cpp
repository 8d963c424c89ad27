// The custom list editor and its two dialogs, headless over the sim machine.
#include "app/MainWindowFixture.h"
#include "customlists/CustomList.h"

using namespace nullvane;
using namespace nullvane::app;
using namespace nullvane::app::testing;
using ui::headless::THeadlessButton;
using ui::headless::THeadlessEdit;
using ui::headless::THeadlessForm;
using ui::headless::THeadlessListView;
using ui::headless::THeadlessRadioButton;

namespace {

class CustomListEditorTest : public MainWindowTest {
protected:
    std::string ListFile() { return customlists::CustomListPath(sim.Machine()); }
    std::string ListText() { return sim.files().ReadAll(ListFile()).ValueOr("<missing>"); }
    // Opens the editor from the menu's handler; `script` works it.
    void Edit(std::function<void(THeadlessForm&)> script) {
        Open();
        controls.ScriptModal("frmNewCustomItem", std::move(script));
        main->OpenCustomListEditor();
    }
    static THeadlessListView& List(THeadlessForm& form) { return *form.FindAll<THeadlessListView>().at(0); }
    static THeadlessButton& ButtonOf(THeadlessForm& form, const std::string& caption) {
        return *form.Find<THeadlessButton>(caption);
    }
};

TEST_F(CustomListEditorTest, SavingNumbersEachKindInListOrderAndDropsLinesTheRunnerIgnores) {
    sim.MakeFile(ListFile(), "[<New List>]\r\nNote=C:\\Important\r\nDelFile1=C:\\Old\r\n");
    sim.MakeFile("C:\\Reports\\a.log", "x");
    controls.ScriptModal("frmAddRegistry", [](THeadlessForm& form) {
        form.FindAll<THeadlessEdit>()[0]->Type("HKEY_CURRENT_USER\\Software\\Reports");
        form.Find<THeadlessButton>("&OK")->Click();
    });
    controls.ScriptModal("frmAddFolder", [](THeadlessForm& form) {
        form.Find<THeadlessRadioButton>("Delete folders containing multiple files")->Click();
        form.FindAll<THeadlessEdit>()[0]->Type("C:\\Reports");
        form.Find<THeadlessRadioButton>("Delete files in this folder(use wildcard match)")->Click();
        auto& mask = *form.FindAll<THeadlessEdit>()[1];
        EXPECT_EQ(mask.Text(), "*.");
        EXPECT_FALSE(form.Find<THeadlessButton>("&OK")->Enabled());
        mask.Type("*.log");
        form.Find<THeadlessButton>("&OK")->Click();
    });
    controls.ScriptModal("frmAddRegistry", [](THeadlessForm& form) {
        form.FindAll<THeadlessEdit>()[0]->Type("hkey_local_machine\\Software\\Reports");
        form.Find<THeadlessRadioButton>("Delete value")->Click();
        EXPECT_FALSE(form.Find<THeadlessButton>("&OK")->Enabled());  // no value named yet
        form.FindAll<THeadlessEdit>()[1]->Type("Path");
        form.Find<THeadlessButton>("&OK")->Click();
    });
    Edit([&](THeadlessForm& form) {
        auto& list = List(form);
        // The note is not loaded: saved back it would become a deletion.
        ASSERT_EQ(list.Items(), std::vector<std::string>{"C:\\Old"});
        list.Select(0);
        ButtonOf(form, "R&emove Selected").Click();
        EXPECT_FALSE(ButtonOf(form, "&OK").Enabled());
        ButtonOf(form, "Add &Registry").Click();
        ButtonOf(form, "Add &File && Folder").Click();
        ButtonOf(form, "Add &Registry").Click();
        EXPECT_TRUE(ButtonOf(form, "&OK").Click());
    });
    EXPECT_EQ(ListText(),
              "[<New List>]\r\nDelRegValue1=HKEY_CURRENT_USER\\Software\\Reports\r\nDelFile1=C:\\Reports,*.log\r\n"
              "DelRegValue2=hkey_local_machine\\Software\\Reports,Path\r\n");
    const auto lines = customlists::ReadCustomList(sim.Machine());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].Key, "DelRegValue2");
}

TEST_F(CustomListEditorTest, EditOpensTheRegistryDialogAsTheEntryReadsAndCancelKeepsTheFile) {
    const std::string saved = "[<New List>]\r\nDelRegValue1=HKEY_CURRENT_USER\\Software\\Reports,\r\nDelFile1=C:\\Old\r\n";
    sim.MakeFile(ListFile(), saved);
    controls.ScriptModal("frmAddRegistry", [](THeadlessForm& form) {
        EXPECT_EQ(form.FindAll<THeadlessEdit>()[0]->Text(), "HKEY_CURRENT_USER\\Software\\Reports");
        EXPECT_TRUE(form.Find<THeadlessRadioButton>("Delete values under the key")->Checked());
        EXPECT_FALSE(form.Find<THeadlessRadioButton>("Delete key")->Checked());
        EXPECT_FALSE(form.FindAll<THeadlessEdit>()[1]->Enabled());
        // No "HKEY_", or a "," the runner would split at: OK stays off.
        form.FindAll<THeadlessEdit>()[0]->Type("Software\\Reports");
        EXPECT_FALSE(form.Find<THeadlessButton>("&OK")->Enabled());
        form.FindAll<THeadlessEdit>()[0]->Type("HKEY_CURRENT_USER\\Software\\A,B");
        EXPECT_FALSE(form.Find<THeadlessButton>("&OK")->Enabled());
        form.FindAll<THeadlessEdit>()[0]->Type("HKEY_CURRENT_USER\\Software\\Other");
        form.Find<THeadlessRadioButton>("Delete key")->Click();
        form.Find<THeadlessButton>("&OK")->Click();
    });
    Edit([&](THeadlessForm& form) {
        auto& list = List(form);
        list.Select(1);
        EXPECT_FALSE(ButtonOf(form, "&Edit").Enabled());  // file entries are not edited
        list.DoubleClick(0);
        EXPECT_EQ(list.ItemText(0), "HKEY_CURRENT_USER\\Software\\Other");
        ButtonOf(form, "&Cancel").Click();
    });
    EXPECT_EQ(ListText(), saved);
}

TEST_F(CustomListEditorTest, TheFolderDialogListsTheChosenFoldersFilesAndRefusesAFolderWithAComma) {
    sim.MakeFile("C:\\First\\one.txt", "1");
    sim.MakeFile("C:\\Second\\two.txt", "2");
    sim.MakeFile("C:\\Second\\Sub\\deep.txt", "3");
    sim.MakeFile("C:\\Data, old\\x.txt", "4");
    sim.dialogs().QueueFolderAnswer("C:\\First");
    sim.dialogs().QueueFolderAnswer("C:\\Second");
    controls.ScriptModal("frmAddFolder", [&](THeadlessForm& form) {
        auto& files = *form.FindAll<THeadlessListView>().at(0);
        auto& browse = *form.Find<THeadlessButton>("...");
        browse.Click();
        EXPECT_EQ(files.Items(), std::vector<std::string>{"one.txt"});
        browse.Click();
        EXPECT_EQ(files.Items(), std::vector<std::string>{"two.txt"});
        EXPECT_FALSE(form.Find<THeadlessButton>("&OK")->Enabled());  // no file chosen
        files.Select(0);
        EXPECT_TRUE(form.Find<THeadlessButton>("&OK")->Enabled());
        form.FindAll<THeadlessEdit>()[0]->Type("C:\\Data, old");
        form.Find<THeadlessRadioButton>("Delete folders containing multiple files")->Click();
        EXPECT_FALSE(form.Find<THeadlessButton>("&OK")->Enabled());
        form.FindAll<THeadlessEdit>()[0]->Type("C:\\Second");
        form.Find<THeadlessRadioButton>("Delete files in this folder(use wildcard match)")->Click();
        form.FindAll<THeadlessEdit>()[1]->Type("*.t");
        EXPECT_TRUE(form.Find<THeadlessButton>("&OK")->Enabled());
        form.Find<THeadlessButton>("&OK")->Click();
    });
    Edit([&](THeadlessForm& form) {
        ButtonOf(form, "Add &File && Folder").Click();
        EXPECT_EQ(List(form).Items(), std::vector<std::string>{"C:\\Second,*.t"});
    });
    EXPECT_EQ(sim.dialogs().FolderRequests(), (std::vector<std::string>{"Please select the directory to add",
                                                                        "Please select the directory to add"}));
}

TEST_F(CustomListEditorTest, AFileThatCannotBeWrittenKeepsTheEditorOpenWithItsList) {
    sim.MakeFile(ListFile(), "[<New List>]\r\nDelFile1=C:\\Old\r\n");
    ASSERT_TRUE(sim.files().SetAttributes(ListFile(), platform::faReadOnly));
    Edit([&](THeadlessForm& form) {
        ButtonOf(form, "&OK").Click();
        EXPECT_EQ(form.ModalResult(), ui::mrNone);
        EXPECT_EQ(List(form).Items(), std::vector<std::string>{"C:\\Old"});
        ButtonOf(form, "&Cancel").Click();
    });
    ASSERT_EQ(AskedTexts().size(), 1u);
    EXPECT_EQ(AskedTexts()[0], "Unable to write to " + ListFile());
}

}  // namespace
