#pragma once
// Facts about the machine, the clock and a random source.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Result.h"

namespace nullvane::platform {

// Special folders by their CSIDL numbers.
enum Csidl : int {
    csidlDesktop = 0x0000,
    csidlPrograms = 0x0002,
    csidlPersonal = 0x0005,  // My Documents
    csidlFavorites = 0x0006,
    csidlStartup = 0x0007,
    csidlRecent = 0x0008,
    csidlSendTo = 0x0009,
    csidlStartMenu = 0x000B,
    csidlMyPictures = 0x0027,
    csidlAppData = 0x001A,
    csidlLocalAppData = 0x001C,
    csidlInternetCache = 0x0020,
    csidlCookies = 0x0021,
    csidlHistory = 0x0022,
    csidlCommonAppData = 0x0023,
    csidlWindows = 0x0024,
    csidlSystem = 0x0025,
    csidlProgramFiles = 0x0026,
    csidlProfile = 0x0028,
    csidlProgramFilesX86 = 0x002A,
    csidlProgramFilesCommon = 0x002B,
    csidlProgramFilesCommonX86 = 0x002C,
    csidlCommonDocuments = 0x002E,
};

enum PlatformId : uint32_t { piWin32s = 0, piWindows = 1 /* 95/98/Me */, piNT = 2 };

struct WindowsVersion {
    uint32_t platformId = piNT;
    uint32_t major = 6;
    uint32_t minor = 1;
};

enum class DriveType : uint32_t {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// How a drive stores data, as far as the drive told: whether reaching a
// spot costs a seek (a spinning disk) and whether it takes TRIM (deleted
// blocks handed back, rewritten elsewhere). Unset where the drive did not say.
struct TStorageTraits {
    std::optional<bool> SeekPenalty;
    std::optional<bool> Trim;
};

// Local date and time, as the program shows it.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // GetWindowsDirectory: no trailing "\" (except a drive root).
    [[nodiscard]] virtual std::string WindowsFolder() = 0;
    // GetSystemDirectory: no trailing "\".
    [[nodiscard]] virtual std::string SystemFolder() = 0;
    // GetTempPath: with a trailing "\".
    [[nodiscard]] virtual std::string TempFolder() = 0;
    // SHGetSpecialFolderPath: no trailing "\"; empty if the folder is unknown.
    [[nodiscard]] virtual std::string SpecialFolder(int csidl) = 0;
    // The folder of the running program, with a trailing "\".
    [[nodiscard]] virtual std::string ProgramFolder() = 0;
    // The running program's file, with its folder.
    [[nodiscard]] virtual std::string ProgramPath() { return ProgramFolder() + "nullvane.exe"; }

    [[nodiscard]] virtual WindowsVersion Version() = 0;
    [[nodiscard]] virtual bool IsAdministrator() = 0;
    // The process runs with its full rights (its token's TokenElevation):
    // an administrator whose rights User Account Control holds back is not.
    // Where the system does not tell, an administrator is taken as elevated.
    [[nodiscard]] virtual bool IsElevated() { return IsAdministrator(); }
    // `root` as DriveTypeOf takes it ("C:\").
    [[nodiscard]] virtual DriveType DriveTypeOf(const std::string& root) = 0;
    // The storage traits of the drive holding `root` ("C:\" or "C:"); only
    // a drive letter is asked. Fails where the drive answers neither question.
    [[nodiscard]] virtual TResult<TStorageTraits> StorageTraitsOf(const std::string& root) {
        (void)root;
        return TResult<TStorageTraits>::Failure(seNotSupported);
    }
    [[nodiscard]] virtual int ScreenWidth() = 0;
    [[nodiscard]] virtual int ScreenHeight() = 0;

    // Milliseconds of a steady clock; only differences mean anything.
    [[nodiscard]] virtual int64_t TickMs() = 0;
    [[nodiscard]] virtual LocalTime Now() = 0;
    // Uniform in [0, range); 0 when range is 0.
    [[nodiscard]] virtual uint32_t Random(uint32_t range) = 0;
    // Reseeds the random source (from the clock, unless a test fixed it).
    virtual void Randomize() = 0;

    // Whether the system offers emptying its DNS resolver cache (dnsapi's
    // DnsFlushResolverCache, looked up when asked).
    [[nodiscard]] virtual bool CanFlushDnsCache() { return false; }
    // Empties the resolver cache; seNotSupported where it is not offered.
    virtual TStatus FlushDnsCache() { return TStatus::Failure(seNotSupported); }

    // Starts a program with no window and does not wait for it: `application`
    // is its full path (never searched for), `commandLine` the whole line it
    // gets. True if it started.
    virtual bool StartHiddenProcess(const std::string& application, const std::string& commandLine) = 0;

    // Minutes by which local time is ahead of UTC now: the bias that
    // FileTimeToLocalFileTime applies (the one in force now, not the one in
    // force at the converted date). The default asks the C runtime's zone.
    [[nodiscard]] virtual int32_t UtcOffsetMinutes();
    // A local date-time as the user's settings write it: the short date, a
    // space, the long time (GetDateFormat, GetTimeFormat). The default is
    // "YYYY-MM-DD HH:MM:SS".
    [[nodiscard]] virtual std::string DateTimeText(const LocalTime& time);
    // The system's words for an error code (FormatMessage), one line without
    // its full stop's line break. The default knows the codes the simulated
    // machine produces, in Windows' English, and "Error N" for others.
    [[nodiscard]] virtual std::string ErrorText(uint32_t code);
};

}  // namespace nullvane::platform
