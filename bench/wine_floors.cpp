// The bare Win32 walks a folder cleaner cannot beat, run under Wine next to
// nullvane-cli: what each per-file or per-folder call costs there.
//
//   wine_floors MODE FOLDER
//
// Every mode walks FOLDER depth first (its contents only; FOLDER itself is
// kept) and prints one line: mode, files, folders, bytes, seconds (inside the
// process, start-up not counted).
//
// Listing modes (nothing changes):
//   walk           FindFirstFileExW (basic info, large fetch), sizes summed
//   walk-plain     FindFirstFileW
//   walk-attr      walk + GetFileAttributesW on each folder before listing it
//   walk-fileattr  walk + GetFileAttributesW on each file
//   walk-open      walk + per file CreateFileW and CloseHandle
//   walk-final     walk-open + GetFinalPathNameByHandleW (drive letter path)
//   walk-final-nt  walk-open + GetFinalPathNameByHandleW (VOLUME_NAME_NT)
//   walk-info      walk-open + GetFileInformationByHandle (link count)
//   walk-checked   walk-open + GetFinalPathNameByHandleW (drive letter path)
//                  + GetFileInformationByHandle
//   walk-documents walk + SHGetSpecialFolderPathW (Documents) per folder
// Removing modes (each needs a fresh tree):
//   delete         walk, DeleteFileW per file, RemoveDirectoryW per folder
//   delete-attr    delete + GetFileAttributesW before each DeleteFileW
//   delete-shell   GetFileAttributesW, SHFileOperationW (one file),
//                  GetFileAttributesW per file instead of DeleteFileW
//   delete-checked per file the calls of walk-checked, then DeleteFileW
//   delete-checked-nt  the same with the VOLUME_NAME_NT path
//   delete-handle  per file CreateFileW with DELETE access, the checks of
//                  walk-checked, SetFileInformationByHandle(FileDispositionInfo),
//                  CloseHandle
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

enum class TMode {
    Walk,
    WalkPlain,
    WalkAttr,
    WalkFileAttr,
    WalkOpen,
    WalkFinal,
    WalkFinalNt,
    WalkInfo,
    WalkChecked,
    WalkDocuments,
    Delete,
    DeleteAttr,
    DeleteShell,
    DeleteChecked,
    DeleteCheckedNt,
    DeleteHandle,
};

struct TModeName {
    const wchar_t* name;
    TMode mode;
};

constexpr TModeName kModes[] = {
    {L"walk", TMode::Walk},
    {L"walk-plain", TMode::WalkPlain},
    {L"walk-attr", TMode::WalkAttr},
    {L"walk-fileattr", TMode::WalkFileAttr},
    {L"walk-open", TMode::WalkOpen},
    {L"walk-final", TMode::WalkFinal},
    {L"walk-final-nt", TMode::WalkFinalNt},
    {L"walk-info", TMode::WalkInfo},
    {L"walk-checked", TMode::WalkChecked},
    {L"walk-documents", TMode::WalkDocuments},
    {L"delete", TMode::Delete},
    {L"delete-attr", TMode::DeleteAttr},
    {L"delete-shell", TMode::DeleteShell},
    {L"delete-checked", TMode::DeleteChecked},
    {L"delete-checked-nt", TMode::DeleteCheckedNt},
    {L"delete-handle", TMode::DeleteHandle},
};

struct TTotals {
    uint64_t files = 0;
    uint64_t folders = 0;
    uint64_t bytes = 0;
    uint64_t failures = 0;
};

bool Removes(TMode mode) { return mode >= TMode::Delete; }

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

// The checks made before a file is removed: where the open file really is,
// and how many names it has.
enum TCheck : unsigned { ckFinalDos = 1, ckFinalNt = 2, ckInfo = 4 };

[[nodiscard]] bool CheckOpenFile(HANDLE file, unsigned checks) {
    wchar_t finalPath[MAX_PATH * 2];
    if ((checks & ckFinalDos) &&
        GetFinalPathNameByHandleW(file, finalPath, MAX_PATH * 2, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS) == 0)
        return false;
    if ((checks & ckFinalNt) &&
        GetFinalPathNameByHandleW(file, finalPath, MAX_PATH * 2, FILE_NAME_NORMALIZED | VOLUME_NAME_NT) == 0)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    return !(checks & ckInfo) || GetFileInformationByHandle(file, &information) != 0;
}

[[nodiscard]] bool OpenAndCheck(const std::wstring& path, unsigned checks) {
    TFileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return file.Valid() && CheckOpenFile(file.Get(), checks);
}

[[nodiscard]] bool RemoveFile(TMode mode, const std::wstring& path) {
    switch (mode) {
        case TMode::DeleteAttr:
            if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
            return DeleteFileW(path.c_str()) != 0;
        case TMode::DeleteShell: {
            DWORD attributes = GetFileAttributesW(path.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES) return false;
            std::wstring from = path;
            from.push_back(L'\0');
            SHFILEOPSTRUCTW operation{};
            operation.wFunc = FO_DELETE;
            operation.pFrom = from.c_str();
            operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
            return SHFileOperationW(&operation) == 0 && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
        }
        case TMode::DeleteChecked:
            return OpenAndCheck(path, ckFinalDos | ckInfo) && DeleteFileW(path.c_str()) != 0;
        case TMode::DeleteCheckedNt:
            return OpenAndCheck(path, ckFinalNt | ckInfo) && DeleteFileW(path.c_str()) != 0;
        case TMode::DeleteHandle: {
            TFileHandle file(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
            if (!file.Valid() || !CheckOpenFile(file.Get(), ckFinalDos | ckInfo)) return false;
            FILE_DISPOSITION_INFO disposition{TRUE};
            return SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
        }
        default:
            return DeleteFileW(path.c_str()) != 0;
    }
}

void VisitFile(TMode mode, const std::wstring& path, TTotals& totals) {
    switch (mode) {
        case TMode::WalkFileAttr:
            if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) ++totals.failures;
            return;
        case TMode::WalkOpen:
        case TMode::WalkFinal:
        case TMode::WalkFinalNt:
        case TMode::WalkInfo:
        case TMode::WalkChecked: {
            unsigned checks = mode == TMode::WalkFinal     ? ckFinalDos
                              : mode == TMode::WalkFinalNt ? ckFinalNt
                              : mode == TMode::WalkInfo    ? ckInfo
                              : mode == TMode::WalkChecked ? ckFinalDos | ckInfo
                                                           : 0;
            if (!OpenAndCheck(path, checks)) ++totals.failures;
            return;
        }
        default:
            if (Removes(mode) && !RemoveFile(mode, path)) ++totals.failures;
    }
}

// FOLDER ends in a backslash.
void Walk(TMode mode, const std::wstring& folder, TTotals& totals) {
    if (mode == TMode::WalkAttr && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) ++totals.failures;
    if (mode == TMode::WalkDocuments) {
        wchar_t documents[MAX_PATH];
        if (!SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE)) ++totals.failures;
    }
    WIN32_FIND_DATAW data;
    std::wstring pattern = folder + L"*";
    TFindHandle find(mode == TMode::WalkPlain
                         ? FindFirstFileW(pattern.c_str(), &data)
                         : FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                            FIND_FIRST_EX_LARGE_FETCH));
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
        VisitFile(mode, path, totals);
    } while (FindNextFileW(find.Get(), &data));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wine_floors MODE FOLDER\n");
        return 2;
    }
    const TModeName* chosen = nullptr;
    for (const TModeName& mode : kModes)
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
    Walk(chosen->mode, folder, totals);
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
