// Machine facts: the forms the folders come in, version, rights, drives,
// clock and random source, against the sim and (under Wine) the system.
#include <gtest/gtest.h>

#include <set>

#include "platform/ServiceBackends.h"
#include "platform/Text.h"
#include "platform/sim/SimMachine.h"

namespace nullvane::testing {
namespace {

using platform::EqualsIgnoreCase;

template <class Backend>
class SystemInfoContractTest : public ::testing::Test {
protected:
    platform::SystemInfo& system() { return backend.system; }
    Backend backend;
};

#ifdef _WIN32
using SystemBackends = ::testing::Types<SimSystemBackend, Win32SystemBackend>;
#else
using SystemBackends = ::testing::Types<SimSystemBackend>;
#endif
TYPED_TEST_SUITE(SystemInfoContractTest, SystemBackends, BackendName);

bool EndsWithBackslash(const std::string& path) { return !path.empty() && path.back() == '\\'; }

TYPED_TEST(SystemInfoContractTest, OnlyTheTempAndProgramFoldersCarryATrailingBackslash) {
    auto& system = this->system();
    const std::string windows = system.WindowsFolder();
    const std::string systemFolder = system.SystemFolder();
    ASSERT_FALSE(windows.empty());
    ASSERT_FALSE(systemFolder.empty());
    EXPECT_FALSE(EndsWithBackslash(windows)) << windows;
    EXPECT_FALSE(EndsWithBackslash(systemFolder)) << systemFolder;
    EXPECT_TRUE(EndsWithBackslash(system.TempFolder())) << system.TempFolder();
    EXPECT_TRUE(EndsWithBackslash(system.ProgramFolder())) << system.ProgramFolder();
    EXPECT_EQ(windows.substr(1, 2), ":\\");

    for (int csidl : {platform::csidlPersonal, platform::csidlAppData, platform::csidlLocalAppData,
                      platform::csidlWindows, platform::csidlSystem, platform::csidlProfile}) {
        const std::string folder = system.SpecialFolder(csidl);
        ASSERT_FALSE(folder.empty()) << "CSIDL " << csidl;
        EXPECT_FALSE(EndsWithBackslash(folder)) << folder;
    }
    EXPECT_TRUE(EqualsIgnoreCase(system.SpecialFolder(platform::csidlWindows), windows));
    EXPECT_TRUE(EqualsIgnoreCase(system.SpecialFolder(platform::csidlSystem), systemFolder));
    EXPECT_EQ(system.SpecialFolder(0x7E), "") << "an unknown folder number gives no folder";
}

TYPED_TEST(SystemInfoContractTest, TheUsersFoldersLieInsideTheProfile) {
    auto& system = this->system();
    const std::string profile = platform::WithTrailingBackslash(system.SpecialFolder(platform::csidlProfile));
    for (int csidl : {platform::csidlPersonal, platform::csidlAppData, platform::csidlLocalAppData}) {
        const std::string folder = system.SpecialFolder(csidl);
        EXPECT_TRUE(EqualsIgnoreCase(folder.substr(0, profile.size()), profile)) << folder << " not in " << profile;
    }
    const std::string temp = system.TempFolder();
    EXPECT_TRUE(EqualsIgnoreCase(temp.substr(0, profile.size()), profile)) << temp;
}

TYPED_TEST(SystemInfoContractTest, ReportsWindowsSevenAndAdministratorByDefault) {
    auto version = this->system().Version();
    EXPECT_EQ(version.platformId, platform::piNT);
    EXPECT_EQ(version.major, 6u);
    EXPECT_EQ(version.minor, 1u);
    EXPECT_TRUE(this->system().IsAdministrator());
    // Only an administrator's process can run elevated.
    EXPECT_TRUE(!this->system().IsElevated() || this->system().IsAdministrator());
}

TYPED_TEST(SystemInfoContractTest, DriveTypes) {
    EXPECT_EQ(this->system().DriveTypeOf("C:\\"), platform::DriveType::Fixed);
    EXPECT_EQ(this->system().DriveTypeOf("Q:\\"), platform::DriveType::NoRootDir);
}

// A drive answers what it knows of how it stores data (the sim only what a
// test set; Wine's drives answer nothing); a name without a drive letter is
// never sent to a device.
TYPED_TEST(SystemInfoContractTest, ADriveTellsHowItStoresDataOrFailsAndOnlyDriveLettersAreAsked) {
    auto& system = this->system();
    if (auto traits = system.StorageTraitsOf("C:\\")) {
        EXPECT_TRUE(traits->SeekPenalty.has_value() || traits->Trim.has_value());
    } else {
        EXPECT_NE(traits.Error(), 0u);
    }
    for (const char* notADrive : {"\\\\server\\share\\", "", "1:\\", "C"}) {
        auto traits = system.StorageTraitsOf(notADrive);
        EXPECT_FALSE(traits) << notADrive;
        EXPECT_EQ(traits.Error(), platform::seInvalidParameter) << notADrive;
    }
}

TYPED_TEST(SystemInfoContractTest, ClockAndDate) {
    auto& system = this->system();
    int64_t first = system.TickMs();
    int64_t second = system.TickMs();
    EXPECT_GE(second, first);
    auto now = system.Now();
    EXPECT_GE(now.year, 2000);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23);
    EXPECT_TRUE(now.minute >= 0 && now.minute <= 59);
    EXPECT_GT(system.ScreenWidth(), 0);
    EXPECT_GT(system.ScreenHeight(), 0);
}

TYPED_TEST(SystemInfoContractTest, RandomValuesStayInRangeAndVary) {
    auto& system = this->system();
    EXPECT_EQ(system.Random(0), 0u);
    EXPECT_EQ(system.Random(1), 0u);
    system.Randomize();
    std::set<uint32_t> seen;
    for (int i = 0; i < 500; ++i) {
        uint32_t value = system.Random(255);
        ASSERT_LT(value, 255u);
        seen.insert(value);
    }
    EXPECT_GT(seen.size(), 100u);
}

// ---- the sim's own settings ----

using platform::sim::SimSystemInfo;

TEST(SimSystemInfo, SettersKeepTheSystemsFolderForms) {
    SimSystemInfo system;
    system.SetWindowsFolder("D:\\WINNT\\");
    system.SetTempFolder("D:\\Temp");
    system.SetProgramFolder("D:\\Apps\\Nullvane");
    system.SetSpecialFolder(platform::csidlPersonal, "D:\\Docs\\");
    system.SetSpecialFolder(platform::csidlCookies, "");
    EXPECT_EQ(system.WindowsFolder(), "D:\\WINNT");
    EXPECT_EQ(system.TempFolder(), "D:\\Temp\\");
    EXPECT_EQ(system.ProgramFolder(), "D:\\Apps\\Nullvane\\");
    EXPECT_EQ(system.SpecialFolder(platform::csidlPersonal), "D:\\Docs");
    EXPECT_EQ(system.SpecialFolder(platform::csidlCookies), "");
    system.SetWindowsFolder("E:\\");
    EXPECT_EQ(system.WindowsFolder(), "E:\\") << "a drive root keeps its backslash";
    system.SetDriveType("e:", platform::DriveType::Remote);
    EXPECT_EQ(system.DriveTypeOf("E:\\"), platform::DriveType::Remote);
}

TEST(SimSystemInfo, ADriveAnswersWhatATestSetAndEachQuestionIsRecorded) {
    platform::sim::SimSystemInfo system;
    EXPECT_EQ(system.StorageTraitsOf("C:\\").Error(), platform::seNotSupported);
    system.SetStorageTraits("c:", {.SeekPenalty = false, .Trim = true});
    auto traits = system.StorageTraitsOf("C:\\");
    ASSERT_TRUE(traits);
    EXPECT_EQ(traits->SeekPenalty, false);
    EXPECT_EQ(traits->Trim, true);
    EXPECT_EQ(system.StorageQueries(), (std::vector<char>{'C', 'C'}));
}

TEST(SimSystemInfo, ElevationFollowsTheAdministratorUnlessSetApart) {
    platform::sim::SimSystemInfo system;
    EXPECT_TRUE(system.IsElevated());
    system.SetAdministrator(false);
    EXPECT_FALSE(system.IsElevated());
    system.SetAdministrator(true);
    system.SetElevated(false);
    EXPECT_FALSE(system.IsElevated());
}

TEST(SimSystemInfo, TheClockMovesOnlyWhenTold) {
    SimSystemInfo system;
    system.SetNow({2011, 12, 31, 23, 59, 59, 500});
    system.SetTickMs(1000);
    EXPECT_EQ(system.TickMs(), 1000);
    system.AdvanceMs(2500);
    EXPECT_EQ(system.TickMs(), 3500);
    auto now = system.Now();
    EXPECT_EQ(now.year, 2012);
    EXPECT_EQ(now.month, 1);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.hour, 0);
    EXPECT_EQ(now.minute, 0);
    EXPECT_EQ(now.second, 2);
    EXPECT_EQ(now.milliseconds, 0);
}

TEST(SimSystemInfo, RandomAnswersCanBeFixed) {
    SimSystemInfo system;
    system.SetRandomSequence({7, 300, 9});
    system.Randomize();
    EXPECT_EQ(system.Random(255), 7u);
    EXPECT_EQ(system.Random(255), 300u % 255);
    system.Randomize();  // does not rewind a sequence
    EXPECT_EQ(system.Random(255), 9u);
    EXPECT_EQ(system.Random(255), 7u);
    EXPECT_EQ(system.RandomizeCount(), 2);

    SimSystemInfo seeded;
    seeded.SetRandomSeed(42);
    seeded.Randomize();
    uint32_t a = seeded.Random(1000), b = seeded.Random(1000);
    seeded.Randomize();
    EXPECT_EQ(seeded.Random(1000), a) << "a fixed seed repeats after Randomize";
    EXPECT_EQ(seeded.Random(1000), b);
}

// ---- the simulated machine ----

TEST(SimMachine, StartsAsAWindowsSevenMachineWithItsFoldersOnTheHost) {
    std::filesystem::path root;
    {
        platform::sim::SimMachine machine;
        auto& platform = machine.Machine();
        root = machine.HostRoot();
        EXPECT_TRUE(platform.files.DirectoryExists(platform.system.WindowsFolder()));
        EXPECT_TRUE(platform.files.DirectoryExists(platform.system.TempFolder()));
        EXPECT_TRUE(platform.files.DirectoryExists(platform.system.ProgramFolder()));
        EXPECT_TRUE(std::filesystem::is_directory(machine.HostPath("C:\\Users\\Test\\Documents")));
        for (const auto& [csidl, folder] : machine.system().SpecialFolders())
            EXPECT_TRUE(platform.files.DirectoryExists(folder)) << folder;
        EXPECT_EQ(platform.registry.ReadString(platform::RegRoot::CurrentUser,
                                               "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                               "Local AppData"),
                  "C:\\Users\\Test\\AppData\\Local");
        EXPECT_EQ(platform.registry.ReadString(platform::RegRoot::LocalMachine,
                                               "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir"),
                  "C:\\Program Files");

        machine.MakeFile("C:\\Data\\Deep\\a.txt", "abc");
        EXPECT_EQ(platform.files.ReadAll("C:\\Data\\Deep\\a.txt"), "abc");
    }
    EXPECT_FALSE(std::filesystem::exists(root)) << "the host folder goes with the machine";
}

#ifdef _WIN32
// The program is the one named, its arguments arrive whole, and no wait is made.
TEST(Win32SystemInfo, HiddenProcessRunsTheNamedProgramWithItsArguments) {
    platform::win32::Win32SystemInfo system;
    const std::string cmd = system.SystemFolder() + "\\cmd.exe";
    const std::string marker = system.TempFolder() + "nullvane-started.txt";
    DeleteFileW(platform::win32::Widen(marker).c_str());
    ASSERT_TRUE(system.StartHiddenProcess(cmd, "\"" + cmd + "\" /c echo started> \"" + marker + "\""));
    bool written = false;
    for (int waited = 0; waited < 10000 && !written; waited += 50) {
        Sleep(50);
        written = GetFileAttributesW(platform::win32::Widen(marker).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    EXPECT_TRUE(written);
    Sleep(200);
    DeleteFileW(platform::win32::Widen(marker).c_str());
    EXPECT_FALSE(system.StartHiddenProcess(system.SystemFolder() + "\\no-such-program.exe", "x"));
}
#endif

}  // namespace
}  // namespace nullvane::testing
