#pragma once
// Simulated machine facts with settable answers: Windows version,
// administrator flag, folders, drive types, screen, a clock that only moves
// when a test moves it, and a random source a test can fix.
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/SystemInfo.h"

namespace nullvane::platform::sim {

class SimSystemInfo final : public SystemInfo {
public:
    // Windows 7 (NT 6.1), administrator, user "Test": C:\Windows,
    // C:\Windows\system32, special folders under C:\Users\Test, temp
    // C:\Users\Test\AppData\Local\Temp\, program folder
    // C:\Program Files\Nullvane\, C: a fixed drive.
    SimSystemInfo();

    [[nodiscard]] std::string WindowsFolder() override;
    [[nodiscard]] std::string SystemFolder() override;
    [[nodiscard]] std::string TempFolder() override;
    [[nodiscard]] std::string SpecialFolder(int csidl) override;
    [[nodiscard]] std::string ProgramFolder() override;
    [[nodiscard]] WindowsVersion Version() override;
    [[nodiscard]] bool IsAdministrator() override;
    // As the administrator flag unless a test set it apart.
    [[nodiscard]] bool IsElevated() override;
    void SetElevated(bool elevated);
    [[nodiscard]] DriveType DriveTypeOf(const std::string& root) override;
    // What a test set for the drive; fails for a drive never set. Every
    // question is recorded by its drive letter.
    [[nodiscard]] TResult<TStorageTraits> StorageTraitsOf(const std::string& root) override;
    void SetStorageTraits(const std::string& root, TStorageTraits traits);
    [[nodiscard]] std::vector<char> StorageQueries();
    [[nodiscard]] int ScreenWidth() override;
    [[nodiscard]] int ScreenHeight() override;
    [[nodiscard]] int64_t TickMs() override;
    [[nodiscard]] LocalTime Now() override;
    [[nodiscard]] uint32_t Random(uint32_t range) override;
    void Randomize() override;
    // Records the start; nothing runs.
    bool StartHiddenProcess(const std::string& application, const std::string& commandLine) override;
    struct StartedProcess {
        std::string application, commandLine;
    };
    [[nodiscard]] std::vector<StartedProcess> StartedProcesses();
    // Not offered unless a test offers it; each flush is counted.
    [[nodiscard]] bool CanFlushDnsCache() override;
    TStatus FlushDnsCache() override;
    void OfferDnsCacheFlush(bool offered);
    [[nodiscard]] int DnsCacheFlushes();
    // 0 unless a test sets another offset.
    [[nodiscard]] int32_t UtcOffsetMinutes() override;

    // Setters keep the system's forms: the Windows, system and special
    // folders lose a trailing "\", the temp and program folders gain one.
    void SetVersion(WindowsVersion version);
    void SetVersion(uint32_t platformId, uint32_t major, uint32_t minor);
    void SetAdministrator(bool administrator);
    void SetWindowsFolder(std::string path);
    void SetSystemFolder(std::string path);
    void SetTempFolder(std::string path);
    void SetProgramFolder(std::string path);
    // An empty path makes the folder unknown.
    void SetSpecialFolder(int csidl, std::string path);
    // Every special folder known now, by CSIDL.
    [[nodiscard]] std::map<int, std::string> SpecialFolders();
    // `root` as "C:\" or "C:"; drives never set are DriveType::NoRootDir.
    void SetDriveType(const std::string& root, DriveType type);
    void SetScreenSize(int width, int height);
    void SetUtcOffsetMinutes(int32_t minutes);

    // The clock stands still until a test moves it. AdvanceMs moves the tick
    // count and the local time together.
    void SetTickMs(int64_t ticks);
    void SetNow(const LocalTime& time);
    void AdvanceMs(int64_t milliseconds);

    // Random answers: by default Randomize seeds from the simulated clock, so
    // runs repeat exactly. A fixed seed is used by every Randomize; a
    // sequence is handed out in order (each value taken modulo the range),
    // round and round, and Randomize does not rewind it.
    void SetRandomSeed(uint32_t seed);
    void SetRandomSequence(std::vector<uint32_t> values);
    [[nodiscard]] int RandomizeCount();

private:
    using Clock = std::chrono::sys_time<std::chrono::milliseconds>;

    std::mutex mutex_;
    WindowsVersion version_{piNT, 6, 1};
    bool administrator_ = true;
    std::optional<bool> elevated_;
    bool dnsFlushOffered_ = false;
    int dnsFlushes_ = 0;
    std::string windowsFolder_, systemFolder_, tempFolder_, programFolder_;
    std::map<int, std::string> specialFolders_;
    std::map<char, DriveType> drives_;
    std::map<char, TStorageTraits> storage_;
    std::vector<char> storageQueries_;
    int screenWidth_ = 1280, screenHeight_ = 1024;
    int32_t utcOffsetMinutes_ = 0;
    int64_t ticks_ = 10'000'000;
    Clock now_;
    std::mt19937 generator_;
    std::optional<uint32_t> seed_;
    std::vector<uint32_t> sequence_;
    size_t sequencePos_ = 0;
    int randomizeCount_ = 0;
    std::vector<StartedProcess> started_;
};

}  // namespace nullvane::platform::sim
