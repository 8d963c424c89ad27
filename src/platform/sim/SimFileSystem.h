#pragma once
// The file system of the simulated Windows. Each drive is a folder on the
// host ("C:\Dir\a.txt" is <hostRoot>/C/Dir/a.txt), so files are real files
// with real sizes. What the host cannot show, because the tests run as root,
// is kept here: the read-only, hidden and system attributes, the share modes
// of open handles, and files that another program holds open.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace nullvane::platform::sim {

class SimFileSystem : public FileSystem {
public:
    explicit SimFileSystem(std::filesystem::path hostRoot);
    ~SimFileSystem() override;
    SimFileSystem(const SimFileSystem&) = delete;
    SimFileSystem& operator=(const SimFileSystem&) = delete;

    // The host path of a Windows path, its names matched without regard to
    // case as Windows matches them. Empty for a path that is not "X:\...".
    [[nodiscard]] std::filesystem::path HostPath(const std::string& windowsPath) const;
    [[nodiscard]] const std::filesystem::path& HostRoot() const;

    // Test helpers: a file held open by another program (every open and
    // delete fails), and the files whose removal at the next start was asked.
    void SetInUse(const std::string& path, bool inUse = true);
    [[nodiscard]] std::vector<std::string> ScheduledDeletes() const;
    // Removals at the next start refused, as for a user without administrator rights.
    void RefuseRebootSchedules(bool refuse = true);

    TStatus List(const std::string& pattern, const ListVisitor& visit) override;
    TResult<uint32_t> GetAttributes(const std::string& path) override;
    TStatus SetAttributes(const std::string& path, uint32_t attributes) override;
    // Marks a file compressed, encrypted or sparse (faCompressed, faEncrypted,
    // faSparse), which SetAttributes cannot change.
    TStatus SetStorageAttributes(const std::string& path, uint32_t attributes);
    TResult<FilePtr> Open(const std::string& path, OpenMode mode, ShareMode share) override;
    TStatus RemoveFile(const std::string& path) override;
    TStatus MakeFolder(const std::string& path) override;
    TStatus RemoveFolder(const std::string& path) override;
    TStatus ScheduleDeleteAtReboot(const std::string& path) override;
    TResult<uint32_t> LinkCountOf(const std::string& path) override;
    TResult<std::string> ReadCompoundStream(const std::string& path, const std::string& stream) override;
    TStatus RemoveLink(const std::string& path) override;
    // The simulation has no 8.3 names: an existing path is its own short form.
    [[nodiscard]] std::string ShortPath(const std::string& path) override;
    TResult<RemovalFilePtr> OpenForRemoval(const std::string& path, bool withContent) override;
    // Paths outside the simulated drives come back as "\\?\host\...",
    // which lies under no simulated folder.
    [[nodiscard]] std::string FinalPath(const std::string& path) override;
    [[nodiscard]] std::string ResolvedName(const std::string& path) override { return FinalPath(path); }
    [[nodiscard]] std::string NativePath(const std::string& path) override;
    // The shell's delete in one look at the host: read-only, hidden and
    // system files go too; open or in-use files, folders and patterns do not.
    TStatus ShellDelete(const std::string& path) override;

    struct State;

private:
#if defined(__unix__)
    bool ListAllPosix(const std::filesystem::path& folder, const ListVisitor& visit, size_t count);
#endif
    std::shared_ptr<State> state_;
};

}  // namespace nullvane::platform::sim
