#pragma once
// Message boxes and the common file dialogs, owned by the calling thread's
// active window or else by the window the program named as owner.
#include <atomic>

#include "platform/Dialogs.h"

namespace nullvane::platform::win32 {

class Win32Dialogs final : public Dialogs {
public:
    [[nodiscard]] int ShowMessage(const std::string& text, const std::string& caption, uint32_t flags) override;
    [[nodiscard]] std::optional<std::string> SaveFile(const FileDialogArgs& args) override;
    [[nodiscard]] std::optional<std::string> OpenFile(const FileDialogArgs& args) override;
    [[nodiscard]] std::optional<std::string> BrowseForFolder(const std::string& title) override;
    void SetOwnerWindow(WindowId window) override { owner_.store(window); }

private:
    [[nodiscard]] WindowId Owner() const;
    [[nodiscard]] std::optional<std::string> FileDialog(const FileDialogArgs& args, bool save) const;

    std::atomic<WindowId> owner_{0};
};

}  // namespace nullvane::platform::win32
