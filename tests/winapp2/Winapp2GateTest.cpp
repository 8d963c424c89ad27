// The rules every winapp2.ini entry passes: each case is one a real entry
// could hit with a mask such as "*.*" or "*.db".
#include <gtest/gtest.h>

#include "platform/Text.h"
#include "winapp2/Winapp2Gate.h"

using namespace nullvane::winapp2;

TEST(Winapp2Gate, StoresOfPasswordsBookmarksSettingsHivesAndMailAreNeverTakenWhateverTheirCase) {
    for (const char* name : {"cert9.db", "KEY4.DB", "logins.json", "logins-backup.json", "Login Data",
                             "login data for account", "Bookmarks", "Bookmarks.bak", "Preferences",
                             "Secure Preferences", "Local State", "places.sqlite", "favicons.sqlite", "NTUSER.DAT",
                             "ntuser.dat.LOG1", "UsrClass.dat", "UsrClass.dat{6cced2f1}.TM.blf", "Outlook.pst",
                             "mailbox.OST", "f01b4d95cf55d32a.automaticDestinations-ms"}) {
        EXPECT_TRUE(ProtectedFileReason(name)) << name;
    }
    EXPECT_EQ(ProtectedFileReason("cert9.db"), "a browser's certificate store (cert9.db)");
    for (const char* name : {"cache2.db", "cert8.db.old", "Login Data-journal", "History", "Bookmarks.html",
                             "places.sqlite-wal", "session.pst.txt", "1a2b.automaticDestinations-ms", "thumbcache_96.db"}) {
        EXPECT_FALSE(ProtectedFileReason(name)) << name;
    }
}

TEST(Winapp2Gate, NotepadsUnsavedTabsAreRecognisedOnlyByAWholeFolderName) {
    EXPECT_TRUE(LiesUnderTabState(
        "C:\\Users\\Ann\\AppData\\Local\\Packages\\Microsoft.WindowsNotepad_8wekyb3d8bbwe\\LocalState\\TabState\\1.bin"));
    EXPECT_TRUE(LiesUnderTabState("C:/x/tabstate/y"));
    EXPECT_FALSE(LiesUnderTabState("C:\\x\\TabStates\\y"));
    EXPECT_FALSE(LiesUnderTabState("C:\\x\\OldTabState\\y"));
}

TEST(Winapp2Gate, WildcardsMatchAnyRunOrOneCharacterIgnoringCase) {
    EXPECT_TRUE(nullvane::platform::MatchesMask("Sample Tool 2.1", "sample tool*"));
    EXPECT_TRUE(nullvane::platform::MatchesMask("Profile 12", "Profile ??"));
    EXPECT_TRUE(nullvane::platform::MatchesMask("a.b.c", "*.c"));
    EXPECT_TRUE(nullvane::platform::MatchesMask("", "*"));
    EXPECT_FALSE(nullvane::platform::MatchesMask("Profile 1", "Profile ??"));
    EXPECT_FALSE(nullvane::platform::MatchesMask("abc", "*d*"));
    EXPECT_FALSE(nullvane::platform::MatchesMask(std::string(5000, 'a'), std::string(30, '*') + "b"));
}

TEST(Winapp2Gate, AFileKeyWithAnUnknownOrOpenVariableOrTooManyWildcardsIsRefused) {
    EXPECT_FALSE(FileKeyPatternRefusal("%LocalAppData%\\Sample\\*\\Cache", "*.*"));
    EXPECT_FALSE(FileKeyPatternRefusal("%appdata%\\Sample", "*.log;*.tmp"));
    EXPECT_EQ(FileKeyPatternRefusal("%SteamInstall%\\logs", "*.*"), "an unknown variable %SteamInstall%");
    EXPECT_EQ(FileKeyPatternRefusal("%AppData%\\Sample\\%Profile%", "*.*"), "an unknown variable %Profile%");
    EXPECT_TRUE(FileKeyPatternRefusal("%AppData\\Sample", "*.*"));
    EXPECT_FALSE(FileKeyPatternRefusal("%AppData%\\*\\*\\*\\*", "*.*;?.?;*.*"));  // ten
    EXPECT_EQ(FileKeyPatternRefusal("%AppData%\\*\\*\\*\\*\\*", "*.*;?.?;*.*"), "more than 10 wildcards");
}
