#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>


#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

namespace {

// The failure the last call reported.
TStatus LastFailure() { return TStatus::Failure(GetLastError()); }

TStatus StatusOf(BOOL succeeded) { return succeeded ? TStatus::Success() : LastFailure(); }

// Owns a find handle from FindFirstFileExW.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (Valid()) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    [[nodiscard]] bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// An open file; the handle closes with the object.
class Win32FileHandle : public FileHandle {
public:
    explicit Win32FileHandle(HANDLE handle, bool owned = true) : handle_(handle), owned_(owned) {}
    ~Win32FileHandle() override {
        if (owned_) CloseHandle(handle_);
    }

    uint32_t LinkCount() override {
        FILE_STANDARD_INFO standard{};
        if (!GetFileInformationByHandleEx(handle_, FileStandardInfo, &standard, sizeof standard)) return 0;
        return standard.NumberOfLinks;
    }

    size_t Read(void* buffer, size_t count) override {
        size_t total = 0;
        auto* bytes = static_cast<char*>(buffer);
        while (total < count) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
            DWORD got = 0;
            if (!ReadFile(handle_, bytes + total, chunk, &got, nullptr) || got == 0) break;
            total += got;
            if (got < chunk) break;
        }
        return total;
    }

    TStatus Write(const void* buffer, size_t count) override {
        size_t total = 0;
        const auto* bytes = static_cast<const char*>(buffer);
        while (total < count) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
            DWORD put = 0;
            if (!WriteFile(handle_, bytes + total, chunk, &put, nullptr)) return LastFailure();
            if (put == 0) return TStatus::Failure(ERROR_WRITE_FAULT);
            total += put;
        }
        return TStatus::Success();
    }

    std::optional<uint64_t> Seek(int64_t offset, SeekOrigin origin) override {
        DWORD method = origin == SeekOrigin::Begin ? FILE_BEGIN : origin == SeekOrigin::Current ? FILE_CURRENT : FILE_END;
        LARGE_INTEGER distance;
        distance.QuadPart = offset;
        LARGE_INTEGER position;
        if (!SetFilePointerEx(handle_, distance, &position, method)) return std::nullopt;
        return static_cast<uint64_t>(position.QuadPart);
    }

    std::optional<uint64_t> Size() override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(handle_, &size)) return std::nullopt;
        return static_cast<uint64_t>(size.QuadPart);
    }

    TStatus Flush() override { return StatusOf(FlushFileBuffers(handle_)); }

private:
    HANDLE handle_;
    bool owned_;
};

// The path the system resolved for an open handle, in the program's form.
std::string FinalPathOf(HANDLE handle) {
    std::wstring buffer(512, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return Narrow(WithoutLongPrefix(buffer));
        }
        buffer.assign(length + 1, L'\0');
    }
    return {};
}

// The object name of an open file or folder, links resolved; empty if the
// system cannot tell.
std::string ResolvedNameOf(HANDLE handle) {
    // ObjectNameInformation (1) of NtQueryObject, documented in winternl.h.
    using QueryObject = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
    if (!query) return {};
    struct NameInformation {
        USHORT Length;
        USHORT MaximumLength;
        PWSTR Buffer;
    };
    auto nameIn = [](const void* data) -> std::string {
        const auto* name = static_cast<const NameInformation*>(data);
        if (!name->Buffer || name->Length == 0) return {};
        return Narrow(std::wstring_view(name->Buffer, name->Length / sizeof(wchar_t)));
    };
    // Called for every file a Clean deletes: most names fit the stack.
    alignas(NameInformation) unsigned char small[4096];
    ULONG needed = 0;
    if (query(handle, 1, small, sizeof small, &needed) >= 0) return nameIn(small);
    if (needed <= sizeof small) needed = 65536 * sizeof(wchar_t) + sizeof(NameInformation);
    std::vector<unsigned char> large(needed);
    if (query(handle, 1, large.data(), static_cast<ULONG>(large.size()), &needed) >= 0) return nameIn(large.data());
    return {};
}

// One file held open for its removal; the handle carries delete access so
// that the file checked is the file deleted. What it learns of the file it
// asks only when asked: under Wine every query of the file costs a trip to
// the server, and most deletes need none.
class Win32RemovalFile : public RemovalFile {
public:
    Win32RemovalFile(HANDLE handle, bool withContent) : handle_(handle) {
        if (withContent) content_ = std::make_unique<Win32FileHandle>(handle_, false);
    }
    ~Win32RemovalFile() override { Close(); }

    std::string ResolvedName() override {
        return handle_ == INVALID_HANDLE_VALUE ? std::string() : ResolvedNameOf(handle_);
    }

    uint32_t LinkCount() override {
        FILE_STANDARD_INFO standard{};
        if (handle_ == INVALID_HANDLE_VALUE ||
            !GetFileInformationByHandleEx(handle_, FileStandardInfo, &standard, sizeof standard))
            return 1;
        return standard.NumberOfLinks;
    }

    uint32_t Attributes() override {
        if (!attributes_ && handle_ != INVALID_HANDLE_VALUE) {
            FILE_ATTRIBUTE_TAG_INFO tag{};
            if (GetFileInformationByHandleEx(handle_, FileAttributeTagInfo, &tag, sizeof tag))
                attributes_ = tag.FileAttributes;
        }
        return attributes_.value_or(0);
    }

    FileHandle* Content() override { return content_.get(); }

    TStatus Delete() override {
        if (handle_ == INVALID_HANDLE_VALUE) return TStatus::Failure(ERROR_INVALID_HANDLE);
        content_.reset();
        TStatus deleted = MarkForDeletion();
        // As the shell does: a read-only file loses that attribute and the
        // delete is tried again.
        if (!deleted && (Attributes() & FILE_ATTRIBUTE_READONLY)) {
            DWORD original = Attributes();
            DWORD cleared = original & ~FILE_ATTRIBUTE_READONLY;
            if (SetBasicAttributes(cleared != 0 ? cleared : FILE_ATTRIBUTE_NORMAL)) {
                deleted = MarkForDeletion();
                if (!deleted) SetBasicAttributes(original);
            }
        }
        Close();
        return deleted;
    }

private:
    TStatus MarkForDeletion() {
        FILE_DISPOSITION_INFO disposition{TRUE};
        return StatusOf(SetFileInformationByHandle(handle_, FileDispositionInfo, &disposition, sizeof disposition));
    }

    bool SetBasicAttributes(DWORD attributes) {
        FILE_BASIC_INFO basic{};  // zero times are left as they are
        basic.FileAttributes = attributes;
        return SetFileInformationByHandle(handle_, FileBasicInfo, &basic, sizeof basic) != 0;
    }

    void Close() {
        content_.reset();
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    HANDLE handle_;
    std::optional<DWORD> attributes_;
    std::unique_ptr<Win32FileHandle> content_;
};

}  // namespace

TStatus Win32FileSystem::List(const std::string& pattern, const ListVisitor& visit) {
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileExW(WidePath(pattern, true).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find.Valid()) return LastFailure();
    do {
        const wchar_t* name = data.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
        FileEntry entry;
        entry.name = Narrow(data.cFileName);
        entry.attributes = data.dwFileAttributes;
        entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (!visit(entry)) break;
    } while (FindNextFileW(find.Get(), &data));
    return TStatus::Success();
}

TResult<uint32_t> Win32FileSystem::GetAttributes(const std::string& path) {
    DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastFailure();
    return static_cast<uint32_t>(attributes);
}

TStatus Win32FileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    return StatusOf(SetFileAttributesW(WidePath(path).c_str(), attributes));
}

TResult<FilePtr> Win32FileSystem::Open(const std::string& path, OpenMode mode, ShareMode share) {
    std::wstring wide = WidePath(path);
    DWORD access = mode == OpenMode::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    // The system refuses to write a read-only file, but not when the process
    // runs as root under Wine: refuse it here so both behave as Windows does.
    if (mode != OpenMode::Read) {
        DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
            !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return TStatus::Failure(ERROR_ACCESS_DENIED);
        }
    }
    DWORD shareMode = share == ShareMode::Exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    DWORD disposition = mode == OpenMode::CreateAlways ? CREATE_ALWAYS
                        : mode == OpenMode::OpenAlways ? OPEN_ALWAYS
                                                       : OPEN_EXISTING;
    HANDLE handle = CreateFileW(wide.c_str(), access, shareMode, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastFailure();
    return FilePtr(std::make_unique<Win32FileHandle>(handle));
}

TStatus Win32FileSystem::RemoveFile(const std::string& path) { return StatusOf(DeleteFileW(WidePath(path).c_str())); }

TStatus Win32FileSystem::MakeFolder(const std::string& path) {
    return StatusOf(CreateDirectoryW(WidePath(path).c_str(), nullptr));
}

TStatus Win32FileSystem::RemoveFolder(const std::string& path) {
    return StatusOf(RemoveDirectoryW(WidePath(path).c_str()));
}

TStatus Win32FileSystem::ShellDelete(const std::string& path) {
    // The shell deletes a whole tree for a folder and every match for a
    // pattern: this operation is for one file only.
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return TStatus::Failure(ERROR_INVALID_NAME);
    std::wstring wide = WidePath(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastFailure();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return TStatus::Failure(ERROR_ACCESS_DENIED);
    // The shell's operation takes no path of MAX_PATH or more (Wine's even
    // crashes on very long ones) and cannot name a file ending in "." or " ":
    // those go through the long form, as the shell would delete them.
    if (wide.rfind(L"\\\\?\\", 0) == 0) return FileSystem::ShellDelete(path);

    std::wstring from = wide;
    from.push_back(L'\0');  // a list of one path ends in two zeros
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    int shellResult = SHFileOperationW(&operation);
    if (shellResult == 0 && !operation.fAnyOperationsAborted) {
        if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return TStatus::Success();
        return TStatus::Failure(ERROR_ACCESS_DENIED);
    }
    // Windows' shell deletes read-only, hidden and system files; Wine's
    // refuses them. The base operation clears the attributes and retries.
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        return FileSystem::ShellDelete(path);
    // The shell's codes are its own: opening the file for deletion, without
    // deleting it, tells the system's reason.
    HANDLE probe = CreateFileW(wide.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return LastFailure();
    CloseHandle(probe);
    return TStatus::Failure(ERROR_ACCESS_DENIED);
}

TStatus Win32FileSystem::ScheduleDeleteAtReboot(const std::string& path) {
    return StatusOf(
        MoveFileExW(WidePath(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING));
}

namespace {

// Releases a storage object of the system.
struct TRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};

// The storage functions' failures as the file operations' codes.
uint32_t StorageFailure(HRESULT result) {
    switch (result) {
        case STG_E_SHAREVIOLATION:
        case STG_E_LOCKVIOLATION: return seSharingViolation;
        case STG_E_FILENOTFOUND:
        case STG_E_PATHNOTFOUND: return seFileNotFound;
        case STG_E_ACCESSDENIED: return seAccessDenied;
        default: break;
    }
    if (HRESULT_FACILITY(result) == FACILITY_WIN32) return HRESULT_CODE(result);
    return seInvalidData;
}

// No stream a cleaner reads comes near this; a larger one is not read into memory.
constexpr ULONGLONG kLargestStream = 64ull << 20;

}  // namespace

TResult<uint32_t> Win32FileSystem::LinkCountOf(const std::string& path) {
    // Attribute access is outside every share mode: a held file answers too.
    HANDLE handle = CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastFailure();
    Win32FileHandle file(handle);
    const uint32_t links = file.LinkCount();
    if (links == 0) return TResult<uint32_t>::Failure(seGenFailure);
    return links;
}

TResult<std::string> Win32FileSystem::ReadCompoundStream(const std::string& path, const std::string& stream) {
    IStorage* openedStorage = nullptr;
    HRESULT result = StgOpenStorageEx(Widen(path).c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, STGFMT_STORAGE, 0,
                                      nullptr, nullptr, IID_IStorage, reinterpret_cast<void**>(&openedStorage));
    if (FAILED(result) || !openedStorage) return TResult<std::string>::Failure(StorageFailure(result));
    const std::unique_ptr<IStorage, TRelease> storage(openedStorage);
    IStream* openedStream = nullptr;
    result = storage->OpenStream(Widen(stream).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &openedStream);
    if (FAILED(result) || !openedStream) return TResult<std::string>::Failure(StorageFailure(result));
    const std::unique_ptr<IStream, TRelease> contents(openedStream);
    STATSTG stat{};
    result = contents->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(result)) return TResult<std::string>::Failure(StorageFailure(result));
    if (stat.cbSize.QuadPart > kLargestStream) return TResult<std::string>::Failure(seInvalidData);
    std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    ULONG read = 0;
    result = bytes.empty() ? S_OK : contents->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    if (FAILED(result)) return TResult<std::string>::Failure(StorageFailure(result));
    if (read != bytes.size()) return TResult<std::string>::Failure(seInvalidData);
    return bytes;
}

}  // namespace nullvane::platform::win32

namespace nullvane::platform::win32 {

TStatus Win32FileSystem::RemoveLink(const std::string& path) {
    // The link is opened as itself and removed through that handle, but
    // only after the handle shows a name-surrogate reparse point: a system
    // that resolves the link on open (Wine does) would otherwise remove the
    // folder it points to.
    HANDLE handle = CreateFileW(WidePath(path).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastFailure();
    TStatus removed = TStatus::Failure(ERROR_NOT_A_REPARSE_POINT);
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) &&
        (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && (tag.ReparseTag & 0x20000000)) {
        FILE_DISPOSITION_INFO disposition{TRUE};
        removed = StatusOf(SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition));
    }
    CloseHandle(handle);
    return removed;
}

}  // namespace nullvane::platform::win32

namespace nullvane::platform::win32 {

TResult<RemovalFilePtr> Win32FileSystem::OpenForRemoval(const std::string& path, bool withContent) {
    std::wstring wide = WidePath(path);
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool content = false;
    if (withContent) {
        // Overwriting needs the file alone; a read-only file is never
        // written (the system refuses it, but not to root under Wine).
        DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
            handle = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
            content = handle != INVALID_HANDLE_VALUE;
        }
    }
    if (handle == INVALID_HANDLE_VALUE) {
        handle = CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    }
    // A folder cannot be opened this way (no FILE_FLAG_BACKUP_SEMANTICS).
    if (handle == INVALID_HANDLE_VALUE) return LastFailure();
    return RemovalFilePtr(std::make_unique<Win32RemovalFile>(handle, content));
}

namespace {

template <class Learn>
std::string LearnFromOpenPath(const std::string& path, Learn learn) {
    HANDLE handle = CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    std::string result = learn(handle);
    CloseHandle(handle);
    return result;
}

}  // namespace

std::string Win32FileSystem::ShortPath(const std::string& path) {
    std::wstring longPath = WidePath(path);
    DWORD length = GetShortPathNameW(longPath.c_str(), nullptr, 0);
    if (length == 0) return {};
    std::wstring buffer(length, L'\0');
    length = GetShortPathNameW(longPath.c_str(), buffer.data(), length);
    if (length == 0 || length >= buffer.size()) return {};
    buffer.resize(length);
    return Narrow(WithoutLongPrefix(buffer));
}

std::string Win32FileSystem::FinalPath(const std::string& path) { return LearnFromOpenPath(path, FinalPathOf); }

std::string Win32FileSystem::ResolvedName(const std::string& path) {
    return LearnFromOpenPath(path, ResolvedNameOf);
}

}  // namespace nullvane::platform::win32
