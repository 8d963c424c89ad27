#include "cleaners/Cleaners.h"
#include "removal/RemovalFixture.h"

using namespace nullvane;
using namespace nullvane::cleaners;
using nullvane::platform::RegRoot;
using nullvane::testing::RemovalFixture;

namespace {

constexpr char kOffice[] = "Software\\Microsoft\\Office\\";

class OfficeMessengerCleanersTest : public RemovalFixture {
protected:
    std::string Folder(int csidl) { return sim.system().SpecialFolder(csidl) + "\\"; }
    std::string Recent() { return Folder(platform::csidlAppData) + "Microsoft\\Office\\Recent\\"; }
    bool KeyExists(const std::string& key) { return sim.registry().KeyExists(RegRoot::CurrentUser, key); }
};

TEST_F(OfficeMessengerCleanersTest, WordFindsItsListsBelowAndBesideDataOfEveryVersionAndOnlyDocFiles) {
    auto& reg = sim.registry();
    reg.SetString(RegRoot::CurrentUser, std::string(kOffice) + "11.0\\Word\\Data", "Settings", "s");
    reg.SetString(RegRoot::CurrentUser, std::string(kOffice) + "11.0\\Word\\Data\\File MRU", "Item 1", "a.doc");
    reg.SetString(RegRoot::CurrentUser, std::string(kOffice) + "11.0\\Word\\Data", "Other", "stays");
    // Word 2010 keeps its lists beside Data.
    reg.SetString(RegRoot::CurrentUser, std::string(kOffice) + "14.0\\Word\\File MRU", "Item 1", "b.docx");
    reg.SetString(RegRoot::CurrentUser, std::string(kOffice) + "14.0\\Word\\File MRU", "Item 2", "c.docx");
    reg.SetString(RegRoot::CurrentUser, std::string(kOffice) + "14.0\\Word\\Place MRU", "Item 1", "C:\\");
    reg.SetString(RegRoot::CurrentUser, std::string(kOffice) + "16.0\\Word\\File MRU", "Item 1", "past the range");
    sim.MakeFile(Recent() + "report.doc", "1234");
    sim.MakeFile(Recent() + "report.doc.lnk", "12");

    auto& test = Run(base::rmTest);
    CleanOfficeWord(test);
    EXPECT_EQ(test.ItemCount, 6);  // 1 file, Settings, 1 + 2 + 1 values
    EXPECT_EQ(test.ItemBytes, 4u);
    EXPECT_TRUE(KeyExists(std::string(kOffice) + "14.0\\Word\\File MRU"));

    CleanOfficeWord(Run(base::rmClean));
    EXPECT_FALSE(KeyExists(std::string(kOffice) + "11.0\\Word\\Data\\File MRU"));
    EXPECT_FALSE(KeyExists(std::string(kOffice) + "14.0\\Word\\File MRU"));
    EXPECT_FALSE(KeyExists(std::string(kOffice) + "14.0\\Word\\Place MRU"));
    EXPECT_FALSE(reg.GetValue(RegRoot::CurrentUser, std::string(kOffice) + "11.0\\Word\\Data", "Settings"));
    EXPECT_TRUE(reg.GetValue(RegRoot::CurrentUser, std::string(kOffice) + "11.0\\Word\\Data", "Other"));
    EXPECT_TRUE(KeyExists(std::string(kOffice) + "16.0\\Word\\File MRU"));
    EXPECT_FALSE(Exists(Recent() + "report.doc"));
    EXPECT_TRUE(Exists(Recent() + "report.doc.lnk"));

    // "Recent Files" takes every file, and only files.
    CleanOfficeRecentFiles(Run(base::rmClean));
    EXPECT_FALSE(Exists(Recent() + "report.doc.lnk"));
}

TEST_F(OfficeMessengerCleanersTest, VisioTakesLastFileOneToNineAndPublisherRunsWithoutAppData) {
    const std::string application = std::string(kOffice) + "11.0\\Visio\\Application";
    for (int i = 0; i <= 10; ++i)
        sim.registry().SetString(RegRoot::CurrentUser, application, "LastFile" + std::to_string(i), "x.vsd");
    auto& visio = Run(base::rmClean);
    CleanOfficeVisio(visio);
    EXPECT_EQ(visio.ItemCount, 9);
    EXPECT_TRUE(sim.registry().GetValue(RegRoot::CurrentUser, application, "LastFile0"));
    EXPECT_TRUE(sim.registry().GetValue(RegRoot::CurrentUser, application, "LastFile10"));

    sim.system().SetSpecialFolder(platform::csidlAppData, "");
    sim.registry().SetString(RegRoot::CurrentUser, std::string(kOffice) + "15.0\\Publisher\\File MRU", "Item 1", "p");
    sim.registry().SetString(RegRoot::CurrentUser, std::string(kOffice) + "12.0\\Excel\\File MRU", "Item 1", "e");
    auto& publisher = Run(base::rmTest);
    CleanOfficePublisher(publisher);
    EXPECT_EQ(publisher.ItemCount, 1);
    EXPECT_EQ(publisher.ItemSizeText, "0");
    auto& excel = Run(base::rmTest);
    CleanOfficeExcel(excel);
    EXPECT_EQ(excel.ItemCount, 0);  // without application data its registry part is skipped too
}

TEST_F(OfficeMessengerCleanersTest, MsnTakesTheFirstAbsoluteExistingLogFolderAndWalksAFolderOnce) {
    const std::string passports = "Software\\Microsoft\\MSNMessenger\\PerPassportSettings\\";
    auto& reg = sim.registry();
    // In registry (name) order: relative, unexpanded, not a string, missing, climbing, good.
    reg.SetString(RegRoot::CurrentUser, passports + "a1", "MessageLogPath", "Logs");
    reg.SetValue(RegRoot::CurrentUser, passports + "a2",
                 platform::RegValue::String("MessageLogPath", "%USERPROFILE%\\Logs", platform::rtExpandString));
    reg.SetDword(RegRoot::CurrentUser, passports + "a3", "MessageLogPath", 7);
    reg.SetString(RegRoot::CurrentUser, passports + "a4", "MessageLogPath", "C:\\Gone");
    reg.SetString(RegRoot::CurrentUser, passports + "a5", "MessageLogPath", "C:\\Chat\\..\\Keep");
    const std::string documents = Folder(platform::csidlPersonal);
    // The good one names My Received Files in other letters.
    std::string upper = documents + "MY RECEIVED FILES";
    reg.SetString(RegRoot::CurrentUser, passports + "a6", "MessageLogPath", upper);
    sim.MakeFile("C:\\Logs\\keep.txt", "k");
    sim.MakeFile("C:\\Keep\\keep.txt", "k");
    sim.MakeFile(documents + "My Received Files\\photo.jpg", "123");
    sim.MakeFile(documents + "My Received Files\\Sub\\note.txt", "45");

    auto& test = Run(base::rmTest);
    CleanMsnMessenger(test);
    EXPECT_EQ(test.ItemCount, 2);
    EXPECT_EQ(test.ItemBytes, 5u);

    CleanMsnMessenger(Run(base::rmClean));
    EXPECT_FALSE(Exists(documents + "My Received Files\\photo.jpg"));
    EXPECT_TRUE(Exists(documents + "My Received Files"));
    EXPECT_TRUE(Exists("C:\\Logs\\keep.txt"));
    EXPECT_TRUE(Exists("C:\\Keep\\keep.txt"));

    // Without a documents folder, "My Received Files" is not looked for at a root.
    sim.MakeFile("C:\\My Received Files\\x.txt", "x");
    sim.system().SetSpecialFolder(platform::csidlPersonal, "");
    CleanMsnMessenger(Run(base::rmClean));
    EXPECT_TRUE(Exists("C:\\My Received Files\\x.txt"));
}

TEST_F(OfficeMessengerCleanersTest, SkypeSearchesEverySubfolderAndYahooOnlyItsNamedOnes) {
    const std::string skype = Folder(platform::csidlAppData) + "Skype\\";
    sim.MakeFile(skype + "user\\chatsync\\a.dbb", "12");
    sim.MakeFile(skype + "b.dbb", "3");
    sim.MakeFile(skype + "main.db", "keep");
    auto& run = Run(base::rmClean);
    CleanSkype(run);
    EXPECT_EQ(run.ItemCount, 2);
    EXPECT_TRUE(Exists(skype + "main.db"));

    sim.registry().SetString(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                             "C:\\Program Files");
    const std::string yahoo = "C:\\Program Files\\Yahoo!\\Messenger\\";
    sim.MakeFile(yahoo + "ypager.log", "1");
    sim.MakeFile(yahoo + "Profiles\\me\\list.xml", "1");
    sim.MakeFile(yahoo + "Games\\a.gif", "1");
    sim.MakeFile(yahoo + "Games\\old\\b.gif", "1");
    auto& test = Run(base::rmTest);
    CleanYahooMessenger(test);
    EXPECT_EQ(test.ItemCount, 3);
}

}  // namespace
