#pragma once
// What the Wine tests of windows made in the test's own process share:
// waiting, finding child controls, menu commands and screenshots.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace nullvane::testing {

inline bool WaitForState(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Every child of that class, in the system's order.
inline std::vector<HWND> ChildrenOfClass(HWND window, const wchar_t* className) {
    struct TSearch {
        const wchar_t* className;
        std::vector<HWND> found;
    } search{className, {}};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(data);
            wchar_t name[64];
            GetClassNameW(child, name, 64);
            if (_wcsicmp(name, s->className) == 0) s->found.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The first child of that class, or nullptr.
inline HWND ChildOfClass(HWND window, const wchar_t* className) {
    const std::vector<HWND> found = ChildrenOfClass(window, className);
    return found.empty() ? nullptr : found.front();
}

inline std::wstring WindowTextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

inline HWND ChildButtonOf(HWND window, const std::wstring& caption) {
    for (HWND button : ChildrenOfClass(window, L"Button")) {
        if (WindowTextOf(button) == caption) return button;
    }
    return nullptr;
}

// The command of the menu bar's entry whose text begins with `text`.
inline UINT MenuCommandOf(HWND window, const std::wstring& text) {
    HMENU bar = GetMenu(window);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        HMENU sub = GetSubMenu(bar, i);
        for (int j = 0; sub && j < GetMenuItemCount(sub); ++j) {
            wchar_t name[128] = {};
            GetMenuStringW(sub, j, name, 128, MF_BYPOSITION);
            if (std::wstring(name).rfind(text, 0) == 0) return GetMenuItemID(sub, j);
        }
    }
    return 0;
}

// A window's pixels as the screen shows them (24-bit, bottom-up rows).
struct TWindowShot {
    RECT Window{};
    int Width = 0;
    int Height = 0;
    int Stride = 0;
    std::vector<unsigned char> Bits;

    [[nodiscard]] size_t ColoursIn(RECT screen) const {
        std::set<unsigned> colours;
        const int left = std::max<int>(screen.left - Window.left, 0);
        const int top = std::max<int>(screen.top - Window.top, 0);
        const int right = std::min<int>(screen.right - Window.left, Width);
        const int bottom = std::min<int>(screen.bottom - Window.top, Height);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const unsigned char* p = Bits.data() + static_cast<size_t>(Height - 1 - y) * Stride + x * 3;
                colours.insert(p[0] | (p[1] << 8) | (p[2] << 16));
            }
        }
        return colours.size();
    }
    [[nodiscard]] size_t Colours() const { return ColoursIn(Window); }

    // A BMP file beside the tests, for a person to look at.
    void Save(const std::string& path) const {
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = Width;
        info.biHeight = Height;
        info.biPlanes = 1;
        info.biBitCount = 24;
        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof header + sizeof info;
        header.bfSize = header.bfOffBits + static_cast<DWORD>(Bits.size());
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&header), sizeof header);
        out.write(reinterpret_cast<const char*>(&info), sizeof info);
        out.write(reinterpret_cast<const char*>(Bits.data()), static_cast<std::streamsize>(Bits.size()));
    }
};

inline TWindowShot ShootWindow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    TWindowShot shot;
    GetWindowRect(window, &shot.Window);
    shot.Width = shot.Window.right - shot.Window.left;
    shot.Height = shot.Window.bottom - shot.Window.top;
    shot.Stride = (shot.Width * 3 + 3) & ~3;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.Width;
    info.bmiHeader.biHeight = shot.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.Width, shot.Height, screen, shot.Window.left, shot.Window.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const unsigned char*>(bits);
    shot.Bits.assign(pixels, pixels + static_cast<size_t>(shot.Stride) * shot.Height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

// A control's client area in screen coordinates.
inline RECT ClientRectOnScreen(HWND control) {
    RECT rect{};
    GetClientRect(control, &rect);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace nullvane::testing
