#include "platform/win32/Win32Dialogs.h"

#include <windows.h>
#include <commdlg.h>
// The service names its own operation MessageBox; the W function is called by name.
#undef MessageBox

#include <vector>

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

WindowId Win32Dialogs::Owner() const {
    if (HWND active = GetActiveWindow()) return reinterpret_cast<WindowId>(active);
    WindowId owner = owner_.load();
    return IsWindow(reinterpret_cast<HWND>(owner)) ? owner : 0;
}

int Win32Dialogs::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
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

}  // namespace nullvane::platform::win32
