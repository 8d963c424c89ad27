#pragma once
// Message boxes and the common file dialogs.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Desktop.h"

namespace nullvane::platform {

// Flags and answers carry the Windows values.
enum MessageBoxFlag : uint32_t {
    mbOk = 0x0,
    mbOkCancel = 0x1,
    mbYesNoCancel = 0x3,
    mbYesNo = 0x4,
    mbIconError = 0x10,
    mbIconQuestion = 0x20,
    mbIconWarning = 0x30,
    mbIconInformation = 0x40,
    mbDefButton2 = 0x100,
    mbDefButton3 = 0x200,
};

enum MessageBoxAnswer : int { idOk = 1, idCancel = 2, idYes = 6, idNo = 7 };

struct FileDialogArgs {
    std::string title;
    std::string filter;       // "Text files (*.txt)|*.txt|All files|*.*"
    std::string defaultExt;   // "txt"
    std::string fileName;     // initial name
    std::string initialFolder;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shown modal to the program's active window; may be called from any thread.
    [[nodiscard]] virtual int ShowMessage(const std::string& text, const std::string& caption, uint32_t flags) = 0;
    // The chosen path, or nullopt when cancelled.
    [[nodiscard]] virtual std::optional<std::string> SaveFile(const FileDialogArgs& args) = 0;
    [[nodiscard]] virtual std::optional<std::string> OpenFile(const FileDialogArgs& args) = 0;
    // The system's folder browser for file-system folders, centred on the
    // screen; the chosen folder, or nullopt when cancelled. Without a
    // browser (the console) it answers as cancelled.
    [[nodiscard]] virtual std::optional<std::string> BrowseForFolder(const std::string& title) {
        (void)title;
        return std::nullopt;
    }
    // The window that owns message boxes asked from a thread that has no
    // active window of its own (the run thread); the main window sets itself.
    virtual void SetOwnerWindow(WindowId window) { (void)window; }
};

}  // namespace nullvane::platform
