#include "platform/win32/Win32UiThread.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <mutex>
#include <stdexcept>

namespace nullvane::platform::win32 {

namespace {

const wchar_t kCallWindowClass[] = L"NullvaneSynchronizedCalls";
constexpr UINT kCallMessage = WM_APP + 1;

struct CallRecord {
    const std::function<void()>* call;
    std::exception_ptr error;
    bool ran = false;
};

LRESULT CALLBACK CallWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCallMessage) {
        auto* record = reinterpret_cast<CallRecord*>(lParam);
        // No exception may cross the window procedure: carry it to the caller.
        try {
            (*record->call)();
        } catch (...) {
            record->error = std::current_exception();
        }
        record->ran = true;
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterCallWindowClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = CallWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kCallWindowClass;
        RegisterClassExW(&windowClass);
    });
}

}  // namespace

Win32UiThread::Win32UiThread() : threadId_(GetCurrentThreadId()) {
    RegisterCallWindowClass();
    HWND window = CreateWindowExW(0, kCallWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) throw std::runtime_error("cannot create the window for synchronised calls");
    window_ = reinterpret_cast<uintptr_t>(window);
}

Win32UiThread::~Win32UiThread() { DestroyWindow(reinterpret_cast<HWND>(window_)); }

void Win32UiThread::Synchronize(const std::function<void()>& call) {
    if (GetCurrentThreadId() == threadId_) {
        call();
        return;
    }
    CallRecord record{&call, nullptr, false};
    // A window that is gone (the program is closing) answers nothing and runs nothing.
    SendMessageW(reinterpret_cast<HWND>(window_), kCallMessage, 0, reinterpret_cast<LPARAM>(&record));
    if (!record.ran) throw EUiThreadClosed();
    if (record.error) std::rethrow_exception(record.error);
}

bool Win32UiThread::ServeCallsUntil(const std::function<bool()>& done, int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        // Peeking runs the messages sent to this thread's windows (the calls)
        // and, with PM_NOREMOVE, leaves every posted message where it is.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (done()) return true;
        ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10));
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_SENDMESSAGE);
    }
}

}  // namespace nullvane::platform::win32
