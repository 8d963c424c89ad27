#include "platform/win32/Win32Dialogs.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

WindowId Win32Dialogs::Owner() const {
    if (HWND active = GetActiveWindow()) return reinterpret_cast<WindowId>(active);
    WindowId owner = owner_.load();
    return IsWindow(reinterpret_cast<HWND>(owner)) ? owner : 0;
}

int Win32Dialogs::ShowMessage(const std::string& text, const std::string& caption, uint32_t flags) {
    return MessageBoxW(reinterpret_cast<HWND>(Owner()), Widen(text).c_str(), Widen(caption).c_str(), flags);
}

std::optional<std::string> Win32Dialogs::FileDialog(const FileDialogArgs& args, bool save) const {
    // "Name|*.txt|All|*.*" becomes the zero-separated list the dialog wants.
    std::wstring filter = Widen(args.filter);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');
    std::wstring title = Widen(args.title), defaultExt = Widen(args.defaultExt), folder = Widen(args.initialFolder);
    std::vector<wchar_t> file(32768, L'\0');
    std::wstring initial = Widen(args.fileName);
    if (initial.size() < file.size()) std::copy(initial.begin(), initial.end(), file.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(Owner());
    dialog.lpstrFilter = args.filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return Narrow(file.data());
}

std::optional<std::string> Win32Dialogs::SaveFile(const FileDialogArgs& args) { return FileDialog(args, true); }

std::optional<std::string> Win32Dialogs::OpenFile(const FileDialogArgs& args) { return FileDialog(args, false); }

namespace {

int CALLBACK CentreBrowser(HWND window, UINT message, LPARAM, LPARAM) {
    if (message == BFFM_INITIALIZED) {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        const int width = bounds.right - bounds.left;
        const int height = bounds.bottom - bounds.top;
        SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    return 0;
}

}  // namespace

std::optional<std::string> Win32Dialogs::BrowseForFolder(const std::string& title) {
    std::wstring wideTitle = Widen(title);
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = reinterpret_cast<HWND>(Owner());
    info.pszDisplayName = display;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = CentreBrowser;
    // The browser needs COM on this thread; only a call that succeeded is undone.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (SUCCEEDED(com)) CoUninitialize();
    if (!chosen) return std::nullopt;
    // Long paths: the folder's name may pass MAX_PATH.
    std::wstring path(32768, L'\0');
    const BOOL named = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    CoTaskMemFree(chosen);
    if (!named) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return Narrow(path);
}

}  // namespace nullvane::platform::win32
