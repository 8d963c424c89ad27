#pragma once
// Machine facts from the system: folders, version, token groups, drives,
// screen, clock; and a random source seeded from the clock.
#include <mutex>
#include <random>

#include "platform/SystemInfo.h"

namespace nullvane::platform::win32 {

class Win32SystemInfo final : public SystemInfo {
public:
    Win32SystemInfo();

    [[nodiscard]] std::string WindowsFolder() override;
    [[nodiscard]] std::string SystemFolder() override;
    [[nodiscard]] std::string TempFolder() override;
    [[nodiscard]] std::string SpecialFolder(int csidl) override;
    [[nodiscard]] std::string ProgramFolder() override;
    [[nodiscard]] std::string ProgramPath() override;
    [[nodiscard]] WindowsVersion Version() override;
    // True if the thread's (or else the process's) token lists the
    // Administrators group, whatever the group's attributes.
    [[nodiscard]] bool IsAdministrator() override;
    [[nodiscard]] bool IsElevated() override;
    [[nodiscard]] bool CanFlushDnsCache() override;
    TStatus FlushDnsCache() override;
    [[nodiscard]] DriveType DriveTypeOf(const std::string& root) override;
    [[nodiscard]] TResult<TStorageTraits> StorageTraitsOf(const std::string& root) override;
    [[nodiscard]] int ScreenWidth() override;
    [[nodiscard]] int ScreenHeight() override;
    [[nodiscard]] int64_t TickMs() override;
    [[nodiscard]] LocalTime Now() override;
    [[nodiscard]] uint32_t Random(uint32_t range) override;
    void Randomize() override;
    bool StartHiddenProcess(const std::string& application, const std::string& commandLine) override;
    [[nodiscard]] std::string DateTimeText(const LocalTime& time) override;
    [[nodiscard]] std::string ErrorText(uint32_t code) override;

private:
    std::mutex randomMutex_;
    std::mt19937 generator_;
};

}  // namespace nullvane::platform::win32
