#pragma once
// The backends the service contract tests run against: the sim everywhere,
// and the real Win32 services in the Windows build (under Wine). Each
// backend also offers what a test needs around the service: a window thread
// to pump, a window of a given class, a way to answer a message box.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/UiThread.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimMessageQueue.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSystemInfo.h"
#include "platform/sim/SimUiThread.h"

#ifdef _WIN32
#include <windows.h>
#include "platform/win32/MessagePump.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32UiThread.h"
#include "platform/win32/WideText.h"
#endif

namespace nullvane::testing {

using platform::RegRoot;
using platform::WindowId;

// Removes a key and everything below it, through the interface itself.
inline void DeleteKeyTree(platform::Registry& registry, RegRoot root, const std::string& path) {
    if (auto key = registry.OpenKey(root, path, platform::RegAccess::Full)) {
        for (const auto& name : key->SubkeyNames()) DeleteKeyTree(registry, root, path + "\\" + name);
    }
    (void)registry.DeleteKey(root, path);
}

// Windows are only possible with a display: plain `wine` without Xvfb runs
// console programs but creates no window.
inline bool CanCreateWindows() {
#ifdef _WIN32
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!probe) return false;
    DestroyWindow(probe);
#endif
    return true;
}

// ---- registry ----

struct SimRegistryBackend {
    static constexpr const char* kName = "Sim";
    platform::sim::SimRegistry registry;
};

#ifdef _WIN32
struct Win32RegistryBackend {
    static constexpr const char* kName = "Win32";
    platform::win32::Win32Registry registry;
};
#endif

// ---- system facts ----

struct SimSystemBackend {
    static constexpr const char* kName = "Sim";
    platform::sim::SimSystemInfo system;
};

#ifdef _WIN32
struct Win32SystemBackend {
    static constexpr const char* kName = "Win32";
    platform::win32::Win32SystemInfo system;
};
#endif

// ---- synchronised calls ----

struct SimUiBackend {
    static constexpr const char* kName = "Sim";
    static bool Available() { return true; }
    platform::sim::SimMessageQueue queue;
    platform::sim::SimUiThread ui{queue};
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs) { return queue.PumpUntil(done, timeoutMs); }
};

#ifdef _WIN32
struct Win32UiBackend {
    static constexpr const char* kName = "Win32";
    // Its message-only window needs no display, but says so if it cannot be made.
    static bool Available() {
        try {
            platform::win32::Win32UiThread probe;
            return true;
        } catch (const std::runtime_error&) {
            return false;
        }
    }
    platform::win32::Win32UiThread ui;
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
        return platform::win32::PumpMessagesUntil(done, timeoutMs);
    }
};
#endif

// ---- windows and posted messages ----

using MessageHandler = std::function<void(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

struct SimDesktopBackend {
    static constexpr const char* kName = "Sim";
    static bool Available() { return true; }
    platform::sim::SimMessageQueue queue;
    platform::sim::SimDesktop desktop{queue};
    platform::sim::SimUiThread ui{queue};

    // A call from another thread is waiting for the window thread.
    bool CallWaiting() const { return queue.CallsPending() > 0; }

    WindowId MakeWindow(const std::string& className, MessageHandler handler) {
        return desktop.RegisterWindow(className, std::move(handler));
    }
    static uint32_t OwnProcessId() { return platform::sim::SimDesktop::kOwnProcessId; }
    // The simulated machine runs this program under the name a test gives it.
    SimDesktopBackend() { desktop.SetProcessImage(OwnProcessId(), "contract.exe"); }
    static std::string OwnImageName() { return "contract.exe"; }
    void DestroyWindow(WindowId window) { desktop.DestroyWindow(window); }
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs) { return queue.PumpUntil(done, timeoutMs); }
};

#ifdef _WIN32
// Real top-level windows (hidden) of a class registered for the test; each
// window's messages go to its handler.
struct Win32DesktopBackend {
    static constexpr const char* kName = "Win32";
    static bool Available() { return CanCreateWindows(); }
    platform::win32::Win32Desktop desktop;
    platform::win32::Win32UiThread ui;

    bool CallWaiting() const { return (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0; }

    struct Created {
        HWND window;
        std::wstring className;
        std::unique_ptr<MessageHandler> handler;
    };
    std::vector<Created> created;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* handler = reinterpret_cast<MessageHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (handler && message >= WM_APP) {
            (*handler)(message, wParam, lParam);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    WindowId MakeWindow(const std::string& className, MessageHandler handler) {
        std::wstring wideClass = platform::win32::Widen(className);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = wideClass.c_str();
        RegisterClassExW(&windowClass);
        auto owned = std::make_unique<MessageHandler>(std::move(handler));
        HWND window = CreateWindowExW(0, wideClass.c_str(), L"contract test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), owned.get());
        if (!window) return 0;
        created.push_back(Created{window, wideClass, std::move(owned)});
        return reinterpret_cast<WindowId>(window);
    }

    void DestroyWindow(WindowId window) { ::DestroyWindow(reinterpret_cast<HWND>(window)); }
    static uint32_t OwnProcessId() { return GetCurrentProcessId(); }
    static std::string OwnImageName() {
        wchar_t path[MAX_PATH];
        const std::wstring full(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
        return platform::win32::Narrow(full.substr(full.find_last_of(L'\\') + 1));
    }

    bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
        return platform::win32::PumpMessagesUntil(done, timeoutMs);
    }

    ~Win32DesktopBackend() {
        for (auto& entry : created) {
            if (IsWindow(entry.window)) ::DestroyWindow(entry.window);
            UnregisterClassW(entry.className.c_str(), GetModuleHandleW(nullptr));
        }
    }
};
#endif

// ---- message boxes ----

struct ShownMessageBox {
    std::string text;
    std::string caption;
};

struct SimDialogsBackend {
    static constexpr const char* kName = "Sim";
    static bool Available() { return true; }
    platform::sim::SimDialogs dialogs;

    // The next box is answered by pressing the button with that answer.
    void AnswerNext(int answer) { dialogs.QueueAnswer(answer); }
    std::optional<ShownMessageBox> LastShown() {
        auto asked = dialogs.Asked();
        if (asked.empty()) return std::nullopt;
        return ShownMessageBox{asked.back().text, asked.back().caption};
    }
    void Finish() {}
};

#ifdef _WIN32
// Answers a real message box by finding its dialog window, reading its
// caption and text, and clicking the button.
struct Win32DialogsBackend {
    static constexpr const char* kName = "Win32";
    static bool Available() { return CanCreateWindows(); }
    platform::win32::Win32Dialogs dialogs;
    std::thread clicker;
    std::optional<ShownMessageBox> shown;

    static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
        wchar_t className[16]{};
        GetClassNameW(window, className, 16);
        if (std::wstring(className) == L"#32770" && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    void AnswerNext(int answer) {
        clicker = std::thread([this, answer] {
            for (int waited = 0; waited < 10000; waited += 20) {
                HWND box = nullptr;
                EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
                if (box) {
                    wchar_t text[1024]{}, caption[256]{};
                    GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the text's static control
                    GetWindowTextW(box, caption, 256);
                    shown = ShownMessageBox{platform::win32::Narrow(text), platform::win32::Narrow(caption)};
                    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    std::optional<ShownMessageBox> LastShown() { return shown; }
    void Finish() {
        if (clicker.joinable()) clicker.join();
    }
    ~Win32DialogsBackend() { Finish(); }
};
#endif

struct BackendName {
    template <class T>
    static std::string GetName(int) {
        return T::kName;
    }
};

}  // namespace nullvane::testing
