#pragma once
// The file system through the W functions of kernel32 and shell32.
#include "platform/FileSystem.h"

namespace nullvane::platform::win32 {

class Win32FileSystem : public FileSystem {
public:
    bool List(const std::string& pattern, const ListVisitor& visit) override;
    [[nodiscard]] std::optional<uint32_t> GetAttributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, uint32_t attributes) override;
    [[nodiscard]] FilePtr Open(const std::string& path, OpenMode mode, ShareMode share) override;
    bool DeleteFile(const std::string& path) override;
    bool CreateDirectory(const std::string& path) override;
    bool RemoveDirectory(const std::string& path) override;
    bool ShellDelete(const std::string& path) override;
    bool ScheduleDeleteAtReboot(const std::string& path) override;
    bool RemoveLink(const std::string& path) override;
    [[nodiscard]] std::string ShortPath(const std::string& path) override;
    [[nodiscard]] RemovalFilePtr OpenForRemoval(const std::string& path, bool withContent) override;
    [[nodiscard]] std::string FinalPath(const std::string& path) override;
    [[nodiscard]] std::string NativePath(const std::string& path) override { return path; }
    // The object name of the open file ("\\Device\\HarddiskVolume2\\Dir" on
    // Windows, "\\??\\C:\\Dir" under Wine): the system resolves links to it
    // as GetFinalPathNameByHandleW does, without that call's length limit
    // under Wine and its search for a drive letter.
    [[nodiscard]] std::string ResolvedName(const std::string& path) override;
};

}  // namespace nullvane::platform::win32
