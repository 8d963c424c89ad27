#include "platform/win32/Win32Desktop.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

WindowId Win32Desktop::FindWindowByClass(const std::string& className) {
    return reinterpret_cast<WindowId>(FindWindowW(Widen(className).c_str(), nullptr));
}

bool Win32Desktop::PostToWindow(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (window == 0) return false;
    return PostMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam) != FALSE;
}

bool Win32Desktop::SetForegroundWindow(WindowId window) {
    return ::SetForegroundWindow(reinterpret_cast<HWND>(window)) != FALSE;
}

}  // namespace nullvane::platform::win32

namespace nullvane::platform::win32 {

bool Win32Desktop::EmptyRecycleBin() {
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    if (!shell) return false;
    using EmptyRecycleBinFn = HRESULT(WINAPI*)(HWND, LPCWSTR, DWORD);
    auto empty = reinterpret_cast<EmptyRecycleBinFn>(
        reinterpret_cast<void*>(GetProcAddress(shell, "SHEmptyRecycleBinW")));
    bool done = false;
    if (empty) {
        // SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND
        done = SUCCEEDED(empty(nullptr, nullptr, 0x7));
    }
    FreeLibrary(shell);
    return done;
}

bool Win32Desktop::EmptyClipboard() {
    if (!OpenClipboard(nullptr)) return false;
    bool done = ::EmptyClipboard() != FALSE;
    CloseClipboard();
    return done;
}

}  // namespace nullvane::platform::win32

namespace nullvane::platform::win32 {

namespace {

LONG Saturate(int64_t value) {
    return static_cast<LONG>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

MonitorArea Win32Desktop::MonitorNear(const ScreenRect& rect) {
    const RECT wanted{rect.left, rect.top, Saturate(int64_t{rect.left} + std::max(rect.width, 1)),
                      Saturate(int64_t{rect.top} + std::max(rect.height, 1))};
    HMONITOR monitor = MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL);
    const bool overlaps = monitor != nullptr;
    if (!monitor) monitor = MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT work{};
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        work = info.rcWork;
    } else if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return MonitorArea{ScreenRect{work.left, work.top, work.right - work.left, work.bottom - work.top}, overlaps};
}

uint16_t Win32Desktop::AddGlobalAtom(const std::string& name) { return GlobalAddAtomW(Widen(name).c_str()); }

uint16_t Win32Desktop::FindGlobalAtom(const std::string& name) { return GlobalFindAtomW(Widen(name).c_str()); }

void Win32Desktop::DeleteGlobalAtom(uint16_t atom) { (void)GlobalDeleteAtom(atom); }

bool Win32Desktop::RegisterHotKey(WindowId window, int id, uint32_t modifiers, uint32_t virtualKey) {
    return ::RegisterHotKey(reinterpret_cast<HWND>(window), id, modifiers, virtualKey) != FALSE;
}

void Win32Desktop::UnregisterHotKey(WindowId window, int id) {
    (void)::UnregisterHotKey(reinterpret_cast<HWND>(window), id);
}

std::vector<TopLevelWindow> Win32Desktop::TopLevelWindows() {
    std::vector<TopLevelWindow> windows;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            wchar_t name[256] = {};
            const int length = GetClassNameW(window, name, 256);
            DWORD processId = 0;
            (void)GetWindowThreadProcessId(window, &processId);
            auto* list = reinterpret_cast<std::vector<TopLevelWindow>*>(data);
            list->push_back({reinterpret_cast<WindowId>(window), Narrow(std::wstring_view(name, length > 0 ? length : 0)),
                             ::IsWindowVisible(window) != FALSE, static_cast<uint32_t>(processId)});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string Win32Desktop::ProcessImageName(uint32_t processId) {
    const std::unique_ptr<void, decltype(&CloseHandle)> process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId), &CloseHandle);
    if (!process) return {};
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return {};
    path.resize(length);
    const size_t slash = path.find_last_of(L"\\/");
    return Narrow(slash == std::wstring::npos ? std::wstring_view(path) : std::wstring_view(path).substr(slash + 1));
}

void Win32Desktop::ShowWindowAsync(WindowId window, bool show) {
    (void)::ShowWindowAsync(reinterpret_cast<HWND>(window), show ? SW_SHOW : SW_HIDE);
}

// Windows before Vista have no such reason: the functions are looked up.
bool Win32Desktop::SetShutdownBlockReason(WindowId window, const std::string& reason) {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    if (!user) return false;
    HWND handle = reinterpret_cast<HWND>(window);
    if (reason.empty()) {
        using TDestroy = BOOL(WINAPI*)(HWND);
        FARPROC found = GetProcAddress(user, "ShutdownBlockReasonDestroy");
        return found && reinterpret_cast<TDestroy>(reinterpret_cast<void*>(found))(handle) != FALSE;
    }
    using TCreate = BOOL(WINAPI*)(HWND, LPCWSTR);
    FARPROC found = GetProcAddress(user, "ShutdownBlockReasonCreate");
    return found && reinterpret_cast<TCreate>(reinterpret_cast<void*>(found))(handle, Widen(reason).c_str()) != FALSE;
}

}  // namespace nullvane::platform::win32
