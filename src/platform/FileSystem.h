#pragma once
// Files and folders as the program sees them: Windows paths as UTF-8 text.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace nullvane::platform {

// Attribute bits carry the Windows values so that both backends and the
// callers speak the same numbers.
enum FileAttribute : uint32_t {
    faReadOnly = 0x1,
    faHidden = 0x2,
    faSystem = 0x4,
    faDirectory = 0x10,
    faArchive = 0x20,
    faNormal = 0x80,
    faSparse = 0x200,
    faReparsePoint = 0x400,
    faCompressed = 0x800,
    faEncrypted = 0x4000,
};

struct FileEntry {
    std::string name;       // the entry's own name, no folder
    uint32_t attributes = 0;
    uint64_t size = 0;      // 64-bit size as the listing reports it
    [[nodiscard]] bool IsDirectory() const { return (attributes & faDirectory) != 0; }
    [[nodiscard]] bool IsReparsePoint() const { return (attributes & faReparsePoint) != 0; }
    [[nodiscard]] bool IsReadOnly() const { return (attributes & faReadOnly) != 0; }
};

enum class OpenMode {
    Read,          // existing file, read access
    ReadWrite,     // existing file, read and write access
    CreateAlways,  // create or truncate, read and write access
    OpenAlways,    // open or create, read and write access
};

enum class ShareMode {
    Exclusive,  // share mode 0
    ReadWrite,  // FILE_SHARE_READ | FILE_SHARE_WRITE
};

enum class SeekOrigin { Begin, Current, End };

// An open file. Closing happens in the destructor.
class FileHandle {
public:
    virtual ~FileHandle() = default;
    FileHandle() = default;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Bytes read; 0 at the end of the file or on failure.
    [[nodiscard]] virtual size_t Read(void* buffer, size_t count) = 0;
    // Succeeds if every byte was written.
    virtual TStatus Write(const void* buffer, size_t count) = 0;
    // The new position, or nullopt on failure.
    virtual std::optional<uint64_t> Seek(int64_t offset, SeekOrigin origin) = 0;
    [[nodiscard]] virtual std::optional<uint64_t> Size() = 0;
    virtual TStatus Flush() = 0;
    // The number of names (hard links) the open file has; 0 if unknown.
    [[nodiscard]] virtual uint32_t LinkCount() = 0;
};

using FilePtr = std::unique_ptr<FileHandle>;

// A file held open while a Clean decides about it and removes it, so that
// the file that is checked is the file that is overwritten and deleted.
class RemovalFile {
public:
    virtual ~RemovalFile() = default;
    RemovalFile() = default;
    RemovalFile(const RemovalFile&) = delete;
    RemovalFile& operator=(const RemovalFile&) = delete;

    // The name the system resolved for the open file, links followed, in
    // the form of FileSystem::ResolvedName; empty if the system cannot tell.
    [[nodiscard]] virtual std::string ResolvedName() = 0;
    // The number of names (hard links) the file has.
    [[nodiscard]] virtual uint32_t LinkCount() = 0;
    // Attributes of the file as opened.
    [[nodiscard]] virtual uint32_t Attributes() = 0;
    // The content for reading and writing, held with no sharing; nullptr if
    // it was not asked for or the file is locked or read-only.
    [[nodiscard]] virtual FileHandle* Content() = 0;
    // Deletes the file through this handle as the shell's delete does
    // (read-only, hidden and system files too).
    virtual TStatus Delete() = 0;
};

using RemovalFilePtr = std::unique_ptr<RemovalFile>;

// Called for every entry of a listing; return false to stop the listing.
using ListVisitor = std::function<bool(const FileEntry&)>;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Lists one folder through a pattern as FindFirstFile takes it
    // ("C:\Dir\*", "C:\Dir\*.tmp"), in the order the system gives, never
    // "." or "..". Fails if nothing could be listed (missing folder, no match).
    virtual TStatus List(const std::string& pattern, const ListVisitor& visit) = 0;

    // Attributes of a file or folder; fails if it does not exist.
    virtual TResult<uint32_t> GetAttributes(const std::string& path) = 0;
    virtual TStatus SetAttributes(const std::string& path, uint32_t attributes) = 0;

    // Fails if the file cannot be opened in that mode and share mode.
    virtual TResult<FilePtr> Open(const std::string& path, OpenMode mode, ShareMode share) = 0;

    virtual TStatus RemoveFile(const std::string& path) = 0;
    virtual TStatus MakeFolder(const std::string& path) = 0;
    // Fails for a folder that is not empty.
    virtual TStatus RemoveFolder(const std::string& path) = 0;

    // Deletes one file as the shell's delete operation does (FO_DELETE,
    // silent, no confirmation, nothing to the Recycle Bin): read-only, hidden
    // and system files are deleted too; an open or in-use file is not. Never
    // deletes a folder or a wildcard pattern. Succeeds if the file is gone.
    virtual TStatus ShellDelete(const std::string& path);
    // Asks the system to delete the file at the next start (MoveFileEx with
    // MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING).
    virtual TStatus ScheduleDeleteAtReboot(const std::string& path);
    // How many names (hard links) the file has, asked with attribute access
    // alone, which another program's hold on the file does not stop. Fails
    // when the file cannot be asked.
    virtual TResult<uint32_t> LinkCountOf(const std::string& path);
    // The whole stream `stream` of the root storage of a compound file
    // (structured storage), read without writing. Fails with
    // seSharingViolation when another program holds the file, seFileNotFound
    // when the file or the stream is missing, seInvalidData when the file is
    // no compound file or is damaged.
    virtual TResult<std::string> ReadCompoundStream(const std::string& path, const std::string& stream);
    // Opens one file (never a folder) for its removal; with `withContent`
    // also for overwriting. Fails if it cannot be opened to be deleted.
    virtual TResult<RemovalFilePtr> OpenForRemoval(const std::string& path, bool withContent) = 0;
    // The path of an existing file or folder as the system resolves it, links
    // followed ("C:\\Dir"); empty if unknown.
    [[nodiscard]] virtual std::string FinalPath(const std::string& path) = 0;
    // The same as a name only good for comparing with other resolved names,
    // cheaper to learn and without a length limit: the name of a folder and
    // "\\" begin the names of everything below it. Empty if unknown.
    [[nodiscard]] virtual std::string ResolvedName(const std::string& path) = 0;
    // The path another library (SQLite) must open for a Windows path: the
    // path itself on Windows, the host file behind it in the simulation.
    // Empty for a path that names nothing the backend can reach.
    [[nodiscard]] virtual std::string NativePath(const std::string& path) = 0;
    // Removes a linked folder (junction, symbolic link, mount point) itself,
    // never anything it points to. Fails, with everything left as it was,
    // for a path that is no link or a link that cannot be removed alone.
    virtual TStatus RemoveLink(const std::string& path) = 0;
    // The short (8.3) form of an existing path (GetShortPathName); empty if
    // the path does not exist or has no short form.
    [[nodiscard]] virtual std::string ShortPath(const std::string& path) = 0;

    // Conveniences built on the operations above.
    [[nodiscard]] bool Exists(const std::string& path) { return static_cast<bool>(GetAttributes(path)); }
    [[nodiscard]] bool DirectoryExists(const std::string& path);
    // Creates the folder and every missing parent; succeeds if it exists afterwards.
    TStatus MakeFolders(const std::string& path);
    // The whole file; fails if it cannot be read.
    TResult<std::string> ReadAll(const std::string& path);
    TStatus WriteAll(const std::string& path, const std::string& data);
};

}  // namespace nullvane::platform
