#include "platform/win32/Win32SystemInfo.h"

#include <windows.h>
#include <shlobj.h>
#include <winioctl.h>

#include <optional>
#include <vector>

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

namespace {

// Closes a kernel handle when it leaves scope.
class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~KernelHandle() {
        if (handle_) CloseHandle(handle_);
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    HANDLE* Out() { return &handle_; }
    [[nodiscard]] HANDLE Get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// Frees a SID made by AllocateAndInitializeSid.
class AllocatedSid {
public:
    AllocatedSid() = default;
    ~AllocatedSid() {
        if (sid_) FreeSid(sid_);
    }
    AllocatedSid(const AllocatedSid&) = delete;
    AllocatedSid& operator=(const AllocatedSid&) = delete;
    PSID* Out() { return &sid_; }
    [[nodiscard]] PSID Get() const { return sid_; }

private:
    PSID sid_ = nullptr;
};

uint32_t ClockSeed() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return static_cast<uint32_t>(GetTickCount64()) ^ static_cast<uint32_t>(counter.QuadPart) ^
           static_cast<uint32_t>(counter.QuadPart >> 32);
}

}  // namespace

Win32SystemInfo::Win32SystemInfo() : generator_(ClockSeed()) {}

std::string Win32SystemInfo::WindowsFolder() {
    wchar_t buffer[MAX_PATH + 1]{};
    UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? Narrow(std::wstring_view(buffer, length)) : std::string();
}

std::string Win32SystemInfo::SystemFolder() {
    wchar_t buffer[MAX_PATH + 1]{};
    UINT length = GetSystemDirectoryW(buffer, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? Narrow(std::wstring_view(buffer, length)) : std::string();
}

std::string Win32SystemInfo::TempFolder() {
    wchar_t buffer[MAX_PATH + 2]{};
    DWORD length = GetTempPathW(MAX_PATH + 2, buffer);
    return length > 0 && length <= MAX_PATH + 1 ? Narrow(std::wstring_view(buffer, length)) : std::string();
}

std::string Win32SystemInfo::SpecialFolder(int csidl) {
    wchar_t buffer[MAX_PATH]{};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return {};
    return Narrow(buffer);
}

std::string Win32SystemInfo::ProgramFolder() {
    std::vector<wchar_t> buffer(32768);
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), length);
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::string() : Narrow(path.substr(0, slash + 1));
}

std::string Win32SystemInfo::ProgramPath() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return Narrow(std::wstring(buffer.data(), length));
}

WindowsVersion Win32SystemInfo::Version() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return WindowsVersion{};
#pragma GCC diagnostic pop
    return WindowsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

namespace {

using TDnsFlushResolverCache = BOOL(WINAPI*)();

// DnsFlushResolverCache is no documented export: it is looked up in the
// system's own dnsapi.dll each time, never taken from another folder.
TDnsFlushResolverCache FindDnsFlush() {
    HMODULE dnsapi = GetModuleHandleW(L"dnsapi.dll");
    if (!dnsapi) dnsapi = LoadLibraryExW(L"dnsapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!dnsapi) return nullptr;
    return reinterpret_cast<TDnsFlushResolverCache>(
        reinterpret_cast<void*>(GetProcAddress(dnsapi, "DnsFlushResolverCache")));
}

}  // namespace

bool Win32SystemInfo::CanFlushDnsCache() { return FindDnsFlush() != nullptr; }

TStatus Win32SystemInfo::FlushDnsCache() {
    const TDnsFlushResolverCache flush = FindDnsFlush();
    if (!flush) return TStatus::Failure(seNotSupported);
    if (flush()) return TStatus::Success();
    return TStatus::Failure(GetLastError());
}

bool Win32SystemInfo::IsAdministrator() {
    KernelHandle token;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.Out())) {
        if (GetLastError() != ERROR_NO_TOKEN) return false;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Out())) return false;
    }
    // The group list is sized by asking first: a user in many groups must not
    // be taken for a non-administrator because a fixed buffer was too small.
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenGroups, nullptr, 0, &size);
    if (size == 0) return false;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Get(), TokenGroups, buffer.data(), size, &size)) return false;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    AllocatedSid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, administrators.Out()))
        return false;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i)
        if (EqualSid(groups->Groups[i].Sid, administrators.Get())) return true;
    return false;
}

bool Win32SystemInfo::IsElevated() {
    KernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Out())) return IsAdministrator();
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    // A system without User Account Control does not know the question.
    if (!GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size)) return IsAdministrator();
    return elevation.TokenIsElevated != 0;
}

DriveType Win32SystemInfo::DriveTypeOf(const std::string& root) {
    return static_cast<DriveType>(GetDriveTypeW(Widen(root).c_str()));
}

namespace {

// One storage property of the volume: true/false, or unset when the device
// does not answer that question.
template <class TDescriptor>
std::optional<TDescriptor> QueryStorageProperty(HANDLE volume, STORAGE_PROPERTY_ID property) {
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = property;
    query.QueryType = PropertyStandardQuery;
    TDescriptor descriptor{};
    DWORD returned = 0;
    if (!DeviceIoControl(volume, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &descriptor, sizeof descriptor,
                         &returned, nullptr) ||
        returned < sizeof descriptor)
        return std::nullopt;
    return descriptor;
}

}  // namespace

TResult<TStorageTraits> Win32SystemInfo::StorageTraitsOf(const std::string& root) {
    if (root.size() < 2 || root[1] != ':' || !((root[0] >= 'A' && root[0] <= 'Z') || (root[0] >= 'a' && root[0] <= 'z')))
        return TResult<TStorageTraits>::Failure(ERROR_INVALID_PARAMETER);
    // No access rights are asked: these queries answer any user.
    const std::wstring device = std::wstring(L"\\\\.\\") + static_cast<wchar_t>(root[0]) + L":";
    KernelHandle volume(CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    0, nullptr));
    if (!volume.Get()) return TResult<TStorageTraits>::Failure(GetLastError());
    TStorageTraits traits;
    if (auto seek = QueryStorageProperty<DEVICE_SEEK_PENALTY_DESCRIPTOR>(volume.Get(), StorageDeviceSeekPenaltyProperty))
        traits.SeekPenalty = seek->IncursSeekPenalty != FALSE;
    if (auto trim = QueryStorageProperty<DEVICE_TRIM_DESCRIPTOR>(volume.Get(), StorageDeviceTrimProperty))
        traits.Trim = trim->TrimEnabled != FALSE;
    const DWORD error = GetLastError();
    if (!traits.SeekPenalty && !traits.Trim) return TResult<TStorageTraits>::Failure(error);
    return traits;
}

int Win32SystemInfo::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int Win32SystemInfo::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

int64_t Win32SystemInfo::TickMs() { return static_cast<int64_t>(GetTickCount64()); }

LocalTime Win32SystemInfo::Now() {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    return LocalTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
}

uint32_t Win32SystemInfo::Random(uint32_t range) {
    if (range == 0) return 0;
    std::lock_guard lock(randomMutex_);
    return std::uniform_int_distribution<uint32_t>(0, range - 1)(generator_);
}

void Win32SystemInfo::Randomize() {
    std::lock_guard lock(randomMutex_);
    generator_.seed(ClockSeed());
}

bool Win32SystemInfo::StartHiddenProcess(const std::string& application, const std::string& commandLine) {
    std::wstring program = Widen(application);
    std::wstring line = Widen(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    // No handle of the run (an index.dat being wiped, say) is passed on.
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::string Win32SystemInfo::DateTimeText(const LocalTime& time) {
    SYSTEMTIME system{};
    system.wYear = static_cast<WORD>(time.year);
    system.wMonth = static_cast<WORD>(time.month);
    system.wDay = static_cast<WORD>(time.day);
    system.wHour = static_cast<WORD>(time.hour);
    system.wMinute = static_cast<WORD>(time.minute);
    system.wSecond = static_cast<WORD>(time.second);
    system.wMilliseconds = static_cast<WORD>(time.milliseconds);
    wchar_t date[128] = {};
    wchar_t clock[128] = {};
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &system, nullptr, date, 128) ||
        !GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &system, nullptr, clock, 128)) {
        return SystemInfo::DateTimeText(time);
    }
    return Narrow(std::wstring(date) + L" " + clock);
}

std::string Win32SystemInfo::ErrorText(uint32_t code) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                  nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) return SystemInfo::ErrorText(code);
    std::wstring message(text, length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L' ' || message.back() == L'\r' || message.back() == L'\n'))
        message.pop_back();
    return message.empty() ? SystemInfo::ErrorText(code) : Narrow(message);
}

}  // namespace nullvane::platform::win32
