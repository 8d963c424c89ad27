#pragma once
// The file system through the W functions of kernel32 and shell32.
#include "platform/FileSystem.h"

namespace nullvane::platform::win32 {

class Win32FileSystem : public FileSystem {
public:
    TStatus List(const std::string& pattern, const ListVisitor& visit) override;
    TResult<uint32_t> GetAttributes(const std::string& path) override;
    TStatus SetAttributes(const std::string& path, uint32_t attributes) override;
    TResult<FilePtr> Open(const std::string& path, OpenMode mode, ShareMode share) override;
    TStatus RemoveFile(const std::string& path) override;
    TStatus MakeFolder(const std::string& path) override;
    TStatus RemoveFolder(const std::string& path) override;
    TStatus ShellDelete(const std::string& path) override;
    TStatus ScheduleDeleteAtReboot(const std::string& path) override;
    TResult<uint32_t> LinkCountOf(const std::string& path) override;
    TResult<std::string> ReadCompoundStream(const std::string& path, const std::string& stream) override;
    TStatus RemoveLink(const std::string& path) override;
    [[nodiscard]] std::string ShortPath(const std::string& path) override;
    TResult<RemovalFilePtr> OpenForRemoval(const std::string& path, bool withContent) override;
    [[nodiscard]] std::string FinalPath(const std::string& path) override;
    [[nodiscard]] std::string NativePath(const std::string& path) override { return path; }
    // The object name of the open file ("\\Device\\HarddiskVolume2\\Dir" on
    // Windows, "\\??\\C:\\Dir" under Wine): the system resolves links to it
    // as GetFinalPathNameByHandleW does, without that call's length limit
    // under Wine and its search for a drive letter.
    [[nodiscard]] std::string ResolvedName(const std::string& path) override;
};

}  // namespace nullvane::platform::win32
