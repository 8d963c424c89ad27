// The bare Win32 walks a folder cleaner cannot beat, run under Wine next to
// nullvane-cli, and variants of them that add or replace one call: what each
// per-file or per-folder call costs there.
//
//   wine_floors MODE FOLDER
//
// Every mode walks FOLDER depth first with FindFirstFileExW (basic info,
// large fetch) and FindNextFileW, adding up the sizes (its contents only;
// FOLDER itself is kept), and prints one line: mode, files, folders, bytes,
// seconds (inside the process, start-up not counted).
//
// Listing modes (nothing changes):
//   walk              the bare walk
//   walk-plain        FindFirstFileW instead of FindFirstFileExW
//   walk-attr         + GetFileAttributesW on each folder before listing it
//   walk-documents    + SHGetSpecialFolderPathW (Documents) on each folder
//   walk-fileattr     + GetFileAttributesW on each file
//   walk-open         + per file CreateFileW (attributes only) and CloseHandle
//   walk-final        walk-open + GetFinalPathNameByHandleW, VOLUME_NAME_DOS
//   walk-final-nt     walk-open + GetFinalPathNameByHandleW, VOLUME_NAME_NT
//   walk-final-none   walk-open + GetFinalPathNameByHandleW, VOLUME_NAME_NONE
//   walk-info         walk-open + GetFileInformationByHandle
//   walk-links        walk-open + GetFileInformationByHandleEx(FileStandardInfo)
//   walk-checked      walk-open + walk-final's and walk-info's calls
//   walk-checked-light walk-open + walk-final's and walk-links' calls
// Removing modes (each needs a fresh tree; RemoveDirectoryW per folder):
//   delete            DeleteFileW per file
//   delete-attr       GetFileAttributesW, then DeleteFileW
//   delete-shell      GetFileAttributesW, SHFileOperationW (one file),
//                     GetFileAttributesW
//   delete-checked    walk-checked's calls, then DeleteFileW
//   delete-checked-light  walk-checked-light's calls, then DeleteFileW
//   delete-handle     CreateFileW with DELETE access, walk-checked's calls,
//                     SetFileInformationByHandle(FileDispositionInfo),
//                     CloseHandle
//   delete-handle-light  the same with walk-checked-light's calls
//   delete-handle-final  the same with walk-final's call only
//   delete-handle-bare   the same without any check
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>

namespace {

// What is done to each file after it is listed.
enum class TFileWork { None, Attributes, Open, Delete, DeleteAfterAttributes, ShellDelete, OpenThenDelete, DeleteByHandle };

// Checks made on the open file: where it really is, and how many names it has.
enum TCheck : unsigned {
    ckFinalDos = 1,
    ckFinalNt = 2,
    ckFinalNone = 4,
    ckInformation = 8,
    ckStandardInfo = 16,
};

// What is done to each folder before it is listed.
enum class TFolderWork { None, Attributes, Documents };

struct TMode {
    const wchar_t* name;
    TFileWork file;
    unsigned checks;
    TFolderWork folder;
    bool plainFind;
};

constexpr unsigned kChecked = ckFinalDos | ckInformation;
constexpr unsigned kCheckedLight = ckFinalDos | ckStandardInfo;

constexpr TMode kModes[] = {
    {L"walk", TFileWork::None, 0, TFolderWork::None, false},
    {L"walk-plain", TFileWork::None, 0, TFolderWork::None, true},
    {L"walk-attr", TFileWork::None, 0, TFolderWork::Attributes, false},
    {L"walk-documents", TFileWork::None, 0, TFolderWork::Documents, false},
    {L"walk-fileattr", TFileWork::Attributes, 0, TFolderWork::None, false},
    {L"walk-open", TFileWork::Open, 0, TFolderWork::None, false},
    {L"walk-final", TFileWork::Open, ckFinalDos, TFolderWork::None, false},
    {L"walk-final-nt", TFileWork::Open, ckFinalNt, TFolderWork::None, false},
    {L"walk-final-none", TFileWork::Open, ckFinalNone, TFolderWork::None, false},
    {L"walk-info", TFileWork::Open, ckInformation, TFolderWork::None, false},
    {L"walk-links", TFileWork::Open, ckStandardInfo, TFolderWork::None, false},
    {L"walk-checked", TFileWork::Open, kChecked, TFolderWork::None, false},
    {L"walk-checked-light", TFileWork::Open, kCheckedLight, TFolderWork::None, false},
    {L"delete", TFileWork::Delete, 0, TFolderWork::None, false},
    {L"delete-attr", TFileWork::DeleteAfterAttributes, 0, TFolderWork::None, false},
    {L"delete-shell", TFileWork::ShellDelete, 0, TFolderWork::None, false},
    {L"delete-checked", TFileWork::OpenThenDelete, kChecked, TFolderWork::None, false},
    {L"delete-checked-light", TFileWork::OpenThenDelete, kCheckedLight, TFolderWork::None, false},
    {L"delete-handle", TFileWork::DeleteByHandle, kChecked, TFolderWork::None, false},
    {L"delete-handle-light", TFileWork::DeleteByHandle, kCheckedLight, TFolderWork::None, false},
    {L"delete-handle-final", TFileWork::DeleteByHandle, ckFinalDos, TFolderWork::None, false},
    {L"delete-handle-bare", TFileWork::DeleteByHandle, 0, TFolderWork::None, false},
};

struct TTotals {
    uint64_t files = 0;
    uint64_t folders = 0;
    uint64_t bytes = 0;
    uint64_t failures = 0;
};

bool Removes(const TMode& mode) {
    return mode.file != TFileWork::None && mode.file != TFileWork::Attributes && mode.file != TFileWork::Open;
}

class TFindHandle {
public:
    explicit TFindHandle(HANDLE handle) : handle_(handle) {}
    ~TFindHandle() {
        if (Valid()) FindClose(handle_);
    }
    TFindHandle(const TFindHandle&) = delete;
    TFindHandle& operator=(const TFindHandle&) = delete;
    [[nodiscard]] bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

class TFileHandle {
public:
    explicit TFileHandle(HANDLE handle) : handle_(handle) {}
    ~TFileHandle() {
        if (Valid()) CloseHandle(handle_);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    [[nodiscard]] bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

[[nodiscard]] bool CheckOpenFile(HANDLE file, unsigned checks) {
    wchar_t finalPath[MAX_PATH * 2];
    for (auto [check, flags] : {std::pair{ckFinalDos, VOLUME_NAME_DOS}, std::pair{ckFinalNt, VOLUME_NAME_NT},
                                std::pair{ckFinalNone, VOLUME_NAME_NONE}}) {
        if ((checks & check) &&
            GetFinalPathNameByHandleW(file, finalPath, MAX_PATH * 2, FILE_NAME_NORMALIZED | flags) == 0)
            return false;
    }
    BY_HANDLE_FILE_INFORMATION information;
    if ((checks & ckInformation) && !GetFileInformationByHandle(file, &information)) return false;
    FILE_STANDARD_INFO standard;
    if ((checks & ckStandardInfo) && !GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard))
        return false;
    return true;
}

[[nodiscard]] HANDLE OpenFile(const std::wstring& path, DWORD access) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

[[nodiscard]] bool ShellDelete(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    std::wstring from = path;
    from.push_back(L'\0');  // a list of one path ends in two zeros
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    return SHFileOperationW(&operation) == 0 && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

[[nodiscard]] bool VisitFile(const TMode& mode, const std::wstring& path) {
    switch (mode.file) {
        case TFileWork::None:
            return true;
        case TFileWork::Attributes:
            return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        case TFileWork::Open: {
            TFileHandle file(OpenFile(path, FILE_READ_ATTRIBUTES));
            return file.Valid() && CheckOpenFile(file.Get(), mode.checks);
        }
        case TFileWork::Delete:
            return DeleteFileW(path.c_str()) != 0;
        case TFileWork::DeleteAfterAttributes:
            return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES && DeleteFileW(path.c_str()) != 0;
        case TFileWork::ShellDelete:
            return ShellDelete(path);
        case TFileWork::OpenThenDelete: {
            {
                TFileHandle file(OpenFile(path, FILE_READ_ATTRIBUTES));
                if (!file.Valid() || !CheckOpenFile(file.Get(), mode.checks)) return false;
            }
            return DeleteFileW(path.c_str()) != 0;
        }
        case TFileWork::DeleteByHandle: {
            TFileHandle file(OpenFile(path, DELETE | FILE_READ_ATTRIBUTES));
            if (!file.Valid() || !CheckOpenFile(file.Get(), mode.checks)) return false;
            FILE_DISPOSITION_INFO disposition{TRUE};
            return SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
        }
    }
    return false;
}

// FOLDER ends in a backslash.
void Walk(const TMode& mode, const std::wstring& folder, TTotals& totals) {
    if (mode.folder == TFolderWork::Attributes && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        ++totals.failures;
    if (mode.folder == TFolderWork::Documents) {
        wchar_t documents[MAX_PATH];
        if (!SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE)) ++totals.failures;
    }
    WIN32_FIND_DATAW data;
    std::wstring pattern = folder + L"*";
    TFindHandle find(mode.plainFind ? FindFirstFileW(pattern.c_str(), &data)
                                    : FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                                       nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find.Valid()) {
        ++totals.failures;
        return;
    }
    do {
        std::wstring path = folder + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            ++totals.folders;
            Walk(mode, path + L"\\", totals);
            if (Removes(mode) && !RemoveDirectoryW(path.c_str())) ++totals.failures;
            continue;
        }
        ++totals.files;
        totals.bytes += (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (!VisitFile(mode, path)) ++totals.failures;
    } while (FindNextFileW(find.Get(), &data));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wine_floors MODE FOLDER\n");
        return 2;
    }
    const TMode* chosen = nullptr;
    for (const TMode& mode : kModes)
        if (wcscmp(argv[1], mode.name) == 0) chosen = &mode;
    if (!chosen) {
        std::fprintf(stderr, "unknown mode: %ls\n", argv[1]);
        return 2;
    }
    std::wstring folder = argv[2];
    if (folder.empty() || folder.back() != L'\\') folder.push_back(L'\\');

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    TTotals totals;
    Walk(*chosen, folder, totals);
    QueryPerformanceCounter(&end);
    double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::printf("%ls %llu %llu %llu %.3f\n", chosen->name, static_cast<unsigned long long>(totals.files),
                static_cast<unsigned long long>(totals.folders), static_cast<unsigned long long>(totals.bytes),
                seconds);
    if (totals.failures) {
        std::fprintf(stderr, "%ls: %llu calls failed\n", chosen->name, static_cast<unsigned long long>(totals.failures));
        return 1;
    }
    return 0;
}
