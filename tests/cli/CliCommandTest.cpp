#include <algorithm>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleDialogs.h"
#include "platform/sim/SimMachine.h"
#include "run/RemovingRunLock.h"
#include "base/Texts.h"
#include "settings/OptionsFile.h"
#include "stores/SQLiteFixture.h"
#include "support/BrowserFixture.h"

using namespace nullvane;

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { settings::CurrentOptions = settings::TOptionsSetting{}; }

    int Run(std::vector<std::string> args, const std::string& input = "") {
        std::istringstream in(input);
        std::ostringstream out, err;
        int status = cli::RunCli(args, &sim.Machine(), in, out, err);
        outText = out.str();
        errText = err.str();
        return status;
    }

    void SaveSelection(const std::vector<std::string>& names) {
        std::string path = settings::OptionsFilePath(sim.Machine());
        auto& profiles = sim.Machine().profiles;
        for (size_t i = 0; i < names.size(); ++i) profiles.WriteString(path, "NodeSelected", std::to_string(i + 1), names[i]);
        profiles.WriteString(path, "NodeSelected", "SelectedCount", std::to_string(names.size()));
    }

    platform::sim::SimMachine sim;
    std::string outText, errText;
    const std::string separator = std::string(107, '-');
};

}  // namespace

TEST_F(CliTest, ListPrintsCategoriesAndIndentedItemNamesInTreeOrder) {
    ASSERT_EQ(Run({"--list"}), 0);
    auto lines = SplitLines(outText);
    ASSERT_GE(lines.size(), 10u + 60);
    EXPECT_EQ(lines[0], "Internet Explorer");
    EXPECT_EQ(lines[1], "  Internet Explorer - Recently Typed URLs");
    EXPECT_EQ(lines[8], "Opera");
    EXPECT_EQ(lines.back(), "  Custom Lists - <New List>");
    EXPECT_EQ(lines[lines.size() - 2], "Custom Lists");
    EXPECT_EQ(lines[lines.size() - 3], "Applications");
    EXPECT_TRUE(errText.empty());
}

TEST_F(CliTest, PreviewRunsTheNamedItemsInTreeOrder) {
    ASSERT_EQ(Run({"--preview", "Windows - Clipboard", "Internet Explorer - Cookies"}), 0) << errText;
    auto lines = SplitLines(outText);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "Test: Clearing Internet Explorer - Cookies ...");
    EXPECT_EQ(lines[5], "Test: Clearing Windows - Clipboard ...");
    EXPECT_EQ(lines[10], "Total items will be removed = 0 ; Total files will be removed = 0 KB");
    EXPECT_EQ(lines[11], separator);
}

TEST_F(CliTest, PreviewWithoutItemsUsesTheSavedSelection) {
    SaveSelection({"Windows", "Windows - Start Run", "Applications - Gone"});
    ASSERT_EQ(Run({"--preview"}), 0) << errText;
    auto lines = SplitLines(outText);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Test: Clearing Windows - Start Run ...");
    EXPECT_EQ(lines.size(), 7u);
}

TEST_F(CliTest, NothingNamedAndNothingSavedIsStatusOne) {
    EXPECT_EQ(Run({"--preview"}), 1);
    EXPECT_TRUE(outText.empty());
    EXPECT_NE(errText.find("no item"), std::string::npos);
}

TEST_F(CliTest, BadInputNamesTheCulpritAndRunsNothing) {
    EXPECT_EQ(Run({"--preview", "--frobnicate"}), 2);
    EXPECT_NE(errText.find("--frobnicate"), std::string::npos);
    EXPECT_TRUE(outText.empty());

    EXPECT_EQ(Run({"--preview", "Windows - Clipboard", "Windows - Nope"}), 2);
    EXPECT_NE(errText.find("Windows - Nope"), std::string::npos);
    EXPECT_TRUE(outText.empty());

    EXPECT_EQ(Run({"--preview", "windows - clipboard"}), 2);  // names compare with case
    EXPECT_EQ(Run({"--preview", "Windows"}), 2);             // a category is not an item
    EXPECT_EQ(Run({"--list", "--preview"}), 2);
    EXPECT_EQ(Run({"--preview", "--yes", "Windows - Clipboard"}), 2);
    EXPECT_NE(errText.find("--yes"), std::string::npos);
    EXPECT_EQ(Run({"--preview", "--close-browsers", "Windows - Clipboard"}), 2);
    EXPECT_NE(errText.find("--close-browsers"), std::string::npos);
    EXPECT_EQ(Run({"--clean", "--close-browsers", "--yes", "Windows - Clipboard"}), 0);
    EXPECT_EQ(Run({"--list", "Windows - Clipboard"}), 2);
    EXPECT_EQ(Run({}), 2);
    EXPECT_NE(errText.find("Usage"), std::string::npos);
}

TEST_F(CliTest, CleanAsksFirstAndGoesOnOnlyOnY) {
    EXPECT_EQ(Run({"--clean", "Windows - Clipboard"}), 1);  // no console input
    EXPECT_EQ(outText.rfind("Permanently remove the selected items? [y/N] ", 0), 0u);
    EXPECT_EQ(outText.find("Clearing"), std::string::npos);

    EXPECT_EQ(Run({"--clean", "Windows - Clipboard"}, "yes\n"), 1);
    EXPECT_EQ(outText.find("Clearing"), std::string::npos);

    EXPECT_EQ(Run({"--clean", "Windows - Clipboard"}, "Y\n"), 0);
    EXPECT_NE(outText.find("Clean: Clearing Windows - Clipboard ..."), std::string::npos);
    EXPECT_NE(outText.find("Total items to be removed = 0 ; Total files to be removed = 0 KB"), std::string::npos);

    EXPECT_EQ(Run({"--clean", "--yes", "Windows - Clipboard"}), 0);
    EXPECT_EQ(SplitLines(outText).front(), "Clean: Clearing Windows - Clipboard ...");
}

TEST_F(CliTest, CleanRefusesWhileATickedBrowserIsOpen) {
    // Another program of Chrome's framework shows its window class: no refusal.
    sim.desktop().RegisterWindow("Chrome_WidgetWin_1");
    EXPECT_EQ(Run({"--clean", "--yes", "Google Chrome - Cookies"}), 0);
    const std::string chromeLock = "C:\\Users\\Test\\AppData\\Local\\Google\\Chrome\\User Data\\lockfile";
    sim.MakeFile(chromeLock, "");
    sim.files().SetInUse(chromeLock);
    EXPECT_EQ(Run({"--clean", "--yes", "Google Chrome - Cookies"}), 3);
    EXPECT_NE(errText.find("Please close Google Chrome firstly!"), std::string::npos);
    EXPECT_TRUE(outText.empty());
    // A preview is never refused, nor is a clean of other items.
    EXPECT_EQ(Run({"--preview", "Google Chrome - Cookies"}), 0);
    EXPECT_EQ(Run({"--clean", "--yes", "Windows - Clipboard"}), 0);

    sim.desktop().RegisterWindow("MozillaUIWindowClass");
    SaveSelection({"Mozilla Firefox", "Mozilla Firefox - Session"});
    EXPECT_EQ(Run({"--clean", "--yes"}), 3);
    EXPECT_NE(errText.find("Please close Mozilla Firefox firstly!"), std::string::npos);
}

TEST_F(CliTest, CleanWhileAnotherRemovingRunWorksWaitsThenIsStatusSixAndRemovesNothing) {
    sim.desktop().SetClipboardText("secret");
    sim.locks().HoldElsewhere(run::kRemovingRunLockName);
    EXPECT_EQ(Run({"--clean", "--yes", "Windows - Clipboard"}), 6);
    EXPECT_EQ(errText, std::string("nullvane-cli: ") + base::texts::kAnotherRunRemoving + "\n");
    EXPECT_EQ(outText.find("Clearing"), std::string::npos);
    EXPECT_EQ(sim.locks().Waits(), (std::vector<int>{5000}));
    EXPECT_EQ(sim.desktop().ClipboardText(), "secret");

    // A preview is not limited.
    EXPECT_EQ(Run({"--preview", "Windows - Clipboard"}), 0);
    EXPECT_EQ(sim.locks().Waits().size(), 1u);

    // The other run ends within the wait: this one goes ahead, and lets go after.
    sim.locks().OnWaitElsewhere = [this](const std::string& name, int) { sim.locks().ReleaseElsewhere(name); };
    EXPECT_EQ(Run({"--clean", "--yes", "Windows - Clipboard"}), 0) << errText;
    EXPECT_EQ(sim.desktop().ClipboardText(), "");
    EXPECT_FALSE(sim.locks().IsHeld(run::kRemovingRunLockName));
}

TEST_F(CliTest, APreviewLeavesNoSettingsFolderBehind) {
    const std::string folder = sim.system().SpecialFolder(platform::csidlAppData) + "\\Quillmark";
    ASSERT_FALSE(sim.files().Exists(folder));
    ASSERT_EQ(Run({"--preview", "Windows - Clipboard"}), 0);
    EXPECT_FALSE(sim.files().Exists(folder));
}

TEST_F(CliTest, FastAndDetailApplyToThisInvocationAndTheFileIsNeverWritten) {
    std::string path = settings::OptionsFilePath(sim.Machine());
    sim.Machine().profiles.WriteString(path, "Settings", "FastScan", "1");
    auto before = sim.files().ReadAll(path);

    ASSERT_EQ(Run({"--preview", "--detail", "Windows - Clipboard"}), 0);
    EXPECT_FALSE(settings::CurrentOptions.FastScan);
    ASSERT_EQ(Run({"--detail", "--preview", "--fast", "Windows - Clipboard"}), 0);
    EXPECT_TRUE(settings::CurrentOptions.FastScan);
    ASSERT_EQ(Run({"--clean", "--yes", "Windows - Clipboard"}), 0);
    EXPECT_EQ(sim.files().ReadAll(path), before);
}

TEST_F(CliTest, ExceptLeavesTheNamedItemsOutOfThisRunOnlyAndNeedsAName) {
    SaveSelection({"Windows", "Windows - Start Run", "Windows - Clipboard"});
    std::string path = settings::OptionsFilePath(sim.Machine());
    auto before = sim.files().ReadAll(path);
    ASSERT_EQ(Run({"--preview", "--except", "Windows - Start Run"}), 0) << errText;
    auto lines = SplitLines(outText);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Test: Clearing Windows - Clipboard ...");
    EXPECT_EQ(lines.size(), 7u);
    EXPECT_EQ(sim.files().ReadAll(path), before);
    // Named items too lose those excepted; leaving out all is nothing to run.
    ASSERT_EQ(Run({"--preview", "Windows - Clipboard", "Windows - Start Run", "--except", "Windows - Clipboard"}), 0);
    EXPECT_EQ(SplitLines(outText)[0], "Test: Clearing Windows - Start Run ...");
    EXPECT_EQ(Run({"--preview", "--except", "Windows - Start Run", "Windows - Clipboard"}), 1);

    EXPECT_EQ(Run({"--preview", "--except"}), 2);
    EXPECT_EQ(errText, "nullvane-cli: --except needs at least one ITEM\n");
    EXPECT_EQ(Run({"--preview", "--except", "--fast"}), 2);
    EXPECT_EQ(Run({"--preview", "--except", "Windows - Nope"}), 2);
    EXPECT_NE(errText.find("Windows - Nope"), std::string::npos);
    EXPECT_EQ(Run({"--list", "--except", "Windows - Clipboard"}), 2);
    EXPECT_TRUE(outText.empty());
}

// The document a script reads: every key with its type, the held file named
// with its reason, and nothing but the document on standard output.
TEST_F(CliTest, JsonPrintsOneDocumentWithEachItemAndWhatTheCleanLeftAndWhy) {
    const std::string temp = sim.system().TempFolder();
    sim.MakeFile(temp + "held.tmp", "held");
    sim.MakeFile(temp + "free.tmp", "free");
    sim.files().SetInUse(temp + "held.tmp");
    const int status = Run({"--clean", "Windows - Temporary Files", "--yes", "--json", "--detail"});
    EXPECT_EQ(status, 5);
    const auto document = nlohmann::json::parse(outText, nullptr, false);
    ASSERT_TRUE(document.is_object()) << outText;
    EXPECT_EQ(document["program"], "Nullvane");
    EXPECT_TRUE(document["version"].is_string());
    EXPECT_EQ(document["run"], "clean");
    for (const char* time : {"started", "ended"})
        EXPECT_TRUE(std::regex_match(document[time].get<std::string>(),
                                     std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")))
            << document[time];
    EXPECT_EQ(document["status"], 5);
    ASSERT_TRUE(document["items"].is_array());
    ASSERT_EQ(document["items"].size(), 1u);
    const auto& item = document["items"][0];
    EXPECT_EQ(item["name"], "Windows - Temporary Files");
    EXPECT_TRUE(item["entries"].is_number_integer());
    EXPECT_TRUE(item["bytes"].is_number_unsigned());
    EXPECT_EQ(item["files"], nlohmann::json::array({temp + "free.tmp"}));
    const auto& left = item["left"];
    EXPECT_EQ(left["entries"], 1);
    EXPECT_EQ(left["errors"], 1);
    EXPECT_TRUE(left["bytes"].is_number_unsigned());
    ASSERT_EQ(left["files"].size(), 1u);
    EXPECT_EQ(left["files"][0]["path"], temp + "held.tmp");
    EXPECT_EQ(left["files"][0]["reason"], "in use by another program");
    EXPECT_EQ(document["totals"]["left"], 1);
    EXPECT_TRUE(document["totals"]["entries"].is_number_integer());
    EXPECT_NE(errText.find("finished with errors"), std::string::npos) << errText;

    // Without --detail no paths of removed files; a Test has nothing left.
    sim.files().SetInUse(temp + "held.tmp", false);
    ASSERT_EQ(Run({"--preview", "Windows - Temporary Files", "--json"}), 0);
    const auto preview = nlohmann::json::parse(outText, nullptr, false);
    ASSERT_TRUE(preview.is_object()) << outText;
    EXPECT_EQ(preview["run"], "preview");
    EXPECT_FALSE(preview["items"][0].contains("files"));
    EXPECT_EQ(preview["items"][0]["entries"], 1);
    EXPECT_EQ(preview["items"][0]["left"]["entries"], 0);
    // A run refused still gives a document, with its status.
    ASSERT_EQ(Run({"--preview", "--json"}), 1);
    EXPECT_EQ(nlohmann::json::parse(outText, nullptr, false)["status"], 1);
}

TEST_F(CliTest, OnAConsoleAProgressLineFollowsTheRunAndIsClearedAndRedirectedNothingIsDrawn) {
    const std::string temp = sim.system().TempFolder();
    for (const char* name : {"a.tmp", "b.tmp", "c.tmp"}) sim.MakeFile(temp + name, "trace");
    std::istringstream in;
    std::ostringstream out, err;
    // The clock stands still: the first drawing only, then none within 100 ms.
    ASSERT_EQ(cli::RunCli({"--preview", "Windows - Temporary Files", "--json"}, &sim.Machine(), in, out, err, true), 0);
    const std::string line = "Windows - Temporary Files: 0 entries; 0 KB";
    EXPECT_EQ(err.str(), "\r" + line + "\r" + std::string(line.size(), ' ') + "\r");
    EXPECT_TRUE(nlohmann::json::parse(out.str(), nullptr, false).is_object()) << out.str();

    ASSERT_EQ(Run({"--preview", "Windows - Temporary Files"}), 0);
    EXPECT_EQ(errText.find('\r'), std::string::npos);
}

// The catalogue beside the program: its detected entries listed with their
// group, an entry cleaned behind the gate, a warning asked on the console.
TEST_F(CliTest, AWinapp2FileBesideTheProgramAddsItsDetectedEntriesAndRunsThemBehindTheGate) {
    const std::string roaming = "C:\\Users\\Test\\AppData\\Roaming\\";
    sim.MakeFile(roaming + "Sample Browser\\cache.bin", "1234");
    sim.MakeFile(roaming + "Sample Browser\\cert9.db", "certificates");
    sim.MakeFile(roaming + "Careful Tool\\session.dat", "unsaved work");
    sim.MakeFile(sim.system().ProgramFolder() + "winapp2.ini",
                 "[Sample Browser *]\r\nLangSecRef=3022\r\nDetectFile=%AppData%\\Sample Browser\r\n"
                 "FileKey1=%AppData%\\Sample Browser|*.*\r\n"
                 "[Careful Tool *]\r\nSection=Tools\r\nDetectFile=%AppData%\\Careful Tool\r\n"
                 "Warning=This deletes unsaved sessions.\r\nFileKey1=%AppData%\\Careful Tool|*.dat\r\n"
                 "[Absent Tool *]\r\nDetectFile=%AppData%\\Absent Tool\r\nFileKey1=%AppData%\\Absent Tool|*.*\r\n"
                 "[Odd Tool *]\r\nDetect=HKCU\\Software\\Odd Tool\r\nFileKey1=%Steam%\\logs|*.*\r\n"
                 "broken line\r\n");
    ASSERT_EQ(Run({"--list"}), 0) << errText;
    const auto list = SplitLines(outText);
    const auto category = std::find(list.begin(), list.end(), "winapp2.ini");
    ASSERT_NE(category, list.end());
    EXPECT_EQ(*(category - 1), "Applications");
    EXPECT_EQ(std::vector<std::string>(category + 1, category + 3),
              (std::vector<std::string>{"  winapp2.ini - Careful Tool\tTools", "  winapp2.ini - Sample Browser\tInternet"}));
    EXPECT_EQ(*(category + 3), "Custom Lists");

    // Without --yes (the clean confirmed on the console) a warned entry does not run.
    ASSERT_EQ(Run({"--clean", "winapp2.ini - Sample Browser", "winapp2.ini - Careful Tool"}, "y\n"), 0) << errText;
    EXPECT_FALSE(sim.files().Exists(roaming + "Sample Browser\\cache.bin"));
    EXPECT_TRUE(sim.files().Exists(roaming + "Sample Browser\\cert9.db"));
    EXPECT_TRUE(sim.files().Exists(roaming + "Careful Tool\\session.dat")) << "its warning was answered No";
    const auto lines = SplitLines(outText);
    auto has = [&](const std::string& text) { return std::find(lines.begin(), lines.end(), text) != lines.end(); };
    // The first line of the run, after the console's question.
    EXPECT_NE(outText.find("] winapp2.ini: 4 entries read, 2 shown, 1 refused; 1 damaged lines skipped\n"),
              std::string::npos)
        << outText;
    EXPECT_TRUE(has("winapp2.ini: Sample Browser: refused: a browser's certificate store (cert9.db): " + roaming +
                    "Sample Browser\\cert9.db"));
    EXPECT_TRUE(has("winapp2.ini: Careful Tool: warning: This deletes unsaved sessions."));
    EXPECT_TRUE(has("winapp2.ini: Careful Tool: not run: its warning was not accepted"));

    // With --yes it runs, its warning printed.
    ASSERT_EQ(Run({"--clean", "winapp2.ini - Careful Tool", "--yes"}), 0) << errText;
    EXPECT_NE(outText.find("winapp2.ini: Careful Tool: warning: This deletes unsaved sessions.\n"), std::string::npos);
    EXPECT_FALSE(sim.files().Exists(roaming + "Careful Tool\\session.dat"));

    EXPECT_EQ(Run({"--list", "--winapp2", "C:\\nowhere\\winapp2.ini"}), 2);
    EXPECT_NE(errText.find("cannot read the winapp2.ini file C:\\nowhere\\winapp2.ini"), std::string::npos);
}

TEST_F(CliTest, WithoutAMachineOnlyTheListRuns) {
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli({"--list"}, nullptr, in, out, err), 0);
    EXPECT_FALSE(out.str().empty());
    EXPECT_EQ(cli::RunCli({"--preview", "Windows - Clipboard"}, nullptr, in, out, err), 1);
    EXPECT_NE(err.str().find("Windows build"), std::string::npos);
}

TEST(ConsoleDialogs, OnlyYOrCapitalYAnswersYes) {
    auto ask = [](const std::string& input, uint32_t flags) {
        std::istringstream in(input);
        std::ostringstream out;
        cli::TConsoleDialogs dialogs(in, out);
        int answer = dialogs.ShowMessage("Do you want to delete the files on C:\\?", "Nullvane", flags);
        EXPECT_EQ(out.str().rfind("Do you want to delete the files on C:\\? [y/N] ", 0), 0u);
        return answer;
    };
    const uint32_t yesNo = platform::mbYesNo | platform::mbIconQuestion | platform::mbDefButton2;
    EXPECT_EQ(ask("y\n", yesNo), platform::idYes);
    EXPECT_EQ(ask("Y\r\n", yesNo), platform::idYes);
    EXPECT_EQ(ask("n\n", yesNo), platform::idNo);
    EXPECT_EQ(ask("yes\n", yesNo), platform::idNo);
    EXPECT_EQ(ask("\n", yesNo), platform::idNo);
    EXPECT_EQ(ask("", yesNo), platform::idNo);
    EXPECT_EQ(ask("y\n", platform::mbOkCancel), platform::idOk);
    EXPECT_EQ(ask("", platform::mbOkCancel), platform::idCancel);

    std::istringstream in;
    std::ostringstream out;
    cli::TConsoleDialogs dialogs(in, out);
    EXPECT_EQ(dialogs.ShowMessage("You must have administrators user.", "Nullvane", platform::mbOk), platform::idOk);
    EXPECT_EQ(out.str(), "You must have administrators user.\n");
}

namespace {

TEST_F(CliTest, CustomListPrintsTheEntriesTheEditorLoadsInFileOrder) {
    EXPECT_EQ(Run({"--custom-list"}), 0);
    EXPECT_EQ(outText, "");
    sim.MakeFile(sim.system().ProgramFolder() + "Clist.dat",
                 "[Other]\r\nDelFile1=C:\\Elsewhere\r\n[<New List>]\r\nDelFile1=C:\\Reports,*.log\r\nNote=C:\\Important\r\n"
                 "DelRegValue1=HKEY_CURRENT_USER\\Software\\Reports,\r\n");
    EXPECT_EQ(Run({"--custom-list"}), 0);
    EXPECT_EQ(outText, "DelFile1=C:\\Reports,*.log\nDelRegValue1=HKEY_CURRENT_USER\\Software\\Reports,\n");
    EXPECT_EQ(Run({"--custom-list", "--yes"}), 2);
}

}  // namespace

#include "indexdat/IndexDatBuilder.h"

namespace {

std::string OneRecordIndex() {
    indexdat::testing::TIndexDatBuilder image(0x8000);
    image.FirstTable(0x4000).Table(0x4000, 8, 0).Entry(0x4000, 0, 0x5000).UrlRecord(0x5000, "URL ", 1, "http://a.example/");
    return image.Image();
}

TEST_F(CliTest, WipeIndexDatChecksTheNameAsShowDoesAsksUnlessYesAndThenListsNothing) {
    const std::string file = "C:\\Cache\\INDEX.Dat";
    sim.MakeFile(file, OneRecordIndex());
    sim.MakeFile("C:\\Cache\\index.txt", OneRecordIndex());
    EXPECT_EQ(Run({"--wipe-index-dat", "C:\\Cache\\index.txt", "--yes"}), 2);
    EXPECT_EQ(errText, "Please enter the correct index.dat file name.\n");
    EXPECT_EQ(Run({"--wipe-index-dat", "C:\\Cache\\missing.dat", "--yes"}), 2);
    EXPECT_EQ(Run({"--wipe-index-dat"}), 2);
    EXPECT_EQ(errText, "nullvane-cli: --wipe-index-dat needs a FILE\n");

    EXPECT_EQ(Run({"--wipe-index-dat", file}, "n\n"), 1);
    EXPECT_EQ(outText, "Overwrite the records of " + file + "? [y/N] ");
    EXPECT_EQ(sim.files().ReadAll(file).Value(), OneRecordIndex());
    ASSERT_EQ(Run({"--index-dat", file}), 0);
    EXPECT_NE(outText, "");

    EXPECT_EQ(Run({"--wipe-index-dat", file}, "y\n"), 0);
    EXPECT_EQ(Run({"--index-dat", file}), 0);
    EXPECT_EQ(outText, "");
    sim.MakeFile(file, OneRecordIndex());
    EXPECT_EQ(Run({"--wipe-index-dat", file, "--yes"}), 0);
    EXPECT_EQ(outText, "");
    EXPECT_EQ(errText, "");
    EXPECT_EQ(Run({"--index-dat", file}), 0);
    EXPECT_EQ(outText, "");
}

TEST_F(CliTest, WipeIndexDatThatLeavesTheFileIsStatusFourWithTheFileAndTheReason) {
    const std::string notes = "C:\\Cache\\index.dat";
    sim.MakeFile(notes, "Notes about the cache, written by hand.\r\n");
    EXPECT_EQ(Run({"--wipe-index-dat", notes, "--yes"}), 4);
    EXPECT_EQ(errText, "nullvane-cli: " + notes + ": not overwritten: not an index.dat (no cache signature at its start)\n");
    EXPECT_EQ(sim.files().ReadAll(notes).Value(), "Notes about the cache, written by hand.\r\n");

    const std::string held = "C:\\Cache\\Content.IE5\\index.dat";
    sim.MakeFile(held, OneRecordIndex());
    sim.files().SetInUse(held);
    EXPECT_EQ(Run({"--wipe-index-dat", held, "--yes"}), 4);
    EXPECT_EQ(errText, "nullvane-cli: " + held + ": not overwritten: the file is in use by another program (error 32)\n");
    sim.files().SetInUse(held, false);
    EXPECT_EQ(sim.files().ReadAll(held).Value(), OneRecordIndex());
}

TEST_F(CliTest, CookiesPrintsTheManagersListsAndKeepOrForgetSaveThemAsOkDoes) {
    const std::string folder = sim.system().SpecialFolder(platform::csidlCookies) + "\\";
    const std::string dat = sim.system().ProgramFolder() + "Cookies.dat";
    sim.MakeFile(folder + "t@a[1].txt", "n\nv\na.example/\n");
    sim.MakeFile(folder + "t@b[1].txt", "n\nv\nb.example/\n");
    sim.MakeFile(sim.system().ProgramFolder() + "Cookies.ini", "[Cookies to Keep]\nCount=1\n0=b.example\n");
    EXPECT_EQ(Run({"--cookies"}), 0);
    EXPECT_EQ(outText, "found\ta.example\t" + folder + "t@a[1].txt\n");

    EXPECT_EQ(Run({"--keep-cookie", "a.example", "x.example", "a.example"}), 0);
    EXPECT_EQ(outText, "keep\ta.example\nkeep\tx.example\n");
    EXPECT_EQ(Run({"--keep-cookie", "x.example", "t@a[1].txt"}), 0);
    EXPECT_EQ(outText, "keep\ta.example\nkeep\tx.example\nkeep\tt@a[1].txt\n");
    EXPECT_EQ(Run({"--forget-cookie", "a.example", "t@a[1].txt", "not.kept"}), 0);
    EXPECT_EQ(outText, "keep\tx.example\nfound\ta.example\t" + folder + "t@a[1].txt\n");
    EXPECT_EQ(sim.files().ReadAll(dat).Value(),
              "[Cookies to keep]\r\nCount=1\r\n0=x.example\r\n1=x.example\r\n2=t@a[1].txt\r\n");

    ASSERT_TRUE(sim.files().SetAttributes(dat, platform::faReadOnly));
    EXPECT_EQ(Run({"--keep-cookie", "y.example"}), 4);
    EXPECT_EQ(errText, "nullvane-cli: Unable to write to " + dat + "\n");
    EXPECT_EQ(outText, "");

    EXPECT_EQ(Run({"--keep-cookie"}), 2);
    EXPECT_EQ(Run({"--cookies", "--yes"}), 2);
    EXPECT_EQ(Run({"--cookies", "a.example"}), 2);
}

TEST_F(CliTest, CookiesPrintsAFoundLineForEachBrowserHoldingASiteAfterTheCookieFiles) {
    const std::string folder = sim.system().SpecialFolder(platform::csidlCookies) + "\\";
    sim.MakeFile(folder + "t@a[1].txt", "n\nv\na.example/\n");
    const std::string edge = "C:\\Users\\Test\\AppData\\Local\\Microsoft\\Edge\\User Data\\Default\\";
    sim.MakeFile(edge + "Preferences", "{}");
    sim.MakeFile(edge + "Cookies", "");  // an older profile's place
    nullvane::testing::MakeBrowserDatabase(
        stores::testing::Utf8(sim.HostPath(edge + "Cookies")), "Chromium Network\\Cookies", false,
        "INSERT INTO cookies VALUES (0, '.b.example', '', 'n', 'v', x'', '/', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);");
    EXPECT_EQ(Run({"--cookies"}), 0);
    EXPECT_EQ(outText, "found\ta.example\t" + folder + "t@a[1].txt\nfound\tb.example\tMicrosoft Edge\n");
    EXPECT_EQ(Run({"--keep-cookie", "B.example"}), 0);
    EXPECT_EQ(outText, "keep\tB.example\nfound\ta.example\t" + folder + "t@a[1].txt\n");
}

TEST_F(CliTest, KeepCookieRefusesEntriesCookiesDatCannotHoldAndWritesNothing) {
    const std::string dat = sim.system().ProgramFolder() + "Cookies.dat";
    sim.MakeFile(dat, "[Cookies to keep]\r\nCount=1\r\n0=x.example\r\n");
    const std::string before = sim.files().ReadAll(dat).Value();
    const std::pair<std::string, std::string> refused[] = {
        {"a.example\r\n[evil]", "\"a.example\\r\\n[evil]\": it holds a line break"},
        {"a.example\nb", "\"a.example\\nb\": it holds a line break"},
        {"a\rb", "\"a\\rb\": it holds a line break"},
        {std::string("a\0b", 3), "\"a\\0b\": it holds a NUL character"},
        {"[a.example", "\"[a.example\": it begins with \"[\""},
        {"\"a.example\"", "\"\"a.example\"\": it is wrapped in quotes, which reading it back takes off"},
        {"'a.example'", "\"'a.example'\": it is wrapped in quotes, which reading it back takes off"},
    };
    for (const auto& [entry, why] : refused) {
        EXPECT_EQ(Run({"--keep-cookie", "ok.example", entry}), 2) << why;
        EXPECT_EQ(errText, "nullvane-cli: cannot keep " + why + "\n");
        EXPECT_EQ(outText, "");
        EXPECT_EQ(sim.files().ReadAll(dat).Value(), before) << why;
    }
    // A quote inside an entry, or a "[" after its start, is kept as it is.
    EXPECT_EQ(Run({"--keep-cookie", "a\"b.example", "a[1].example"}), 0) << errText;
    EXPECT_EQ(outText, "keep\tx.example\nkeep\ta\"b.example\nkeep\ta[1].example\n");
}

}  // namespace
