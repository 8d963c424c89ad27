#pragma once
// Message boxes asked on the console: the run's questions during a clean
// from the command line. Only "y" or "Y" answers Yes (or OK); anything else,
// and no console input at all, answers No (or Cancel). Notices are printed.
#include <iosfwd>
#include <mutex>

#include "platform/Dialogs.h"

namespace nullvane::cli {

class TConsoleDialogs final : public platform::Dialogs {
public:
    TConsoleDialogs(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

    [[nodiscard]] int ShowMessage(const std::string& text, const std::string& caption, uint32_t flags) override;
    // The console has no file dialogs: they answer as cancelled.
    [[nodiscard]] std::optional<std::string> SaveFile(const platform::FileDialogArgs& args) override;
    [[nodiscard]] std::optional<std::string> OpenFile(const platform::FileDialogArgs& args) override;

private:
    std::mutex mutex_;
    std::istream& in_;
    std::ostream& out_;
};

// Prints `question`, reads one line and tells whether it was "y" or "Y".
[[nodiscard]] bool AskYesOnConsole(std::istream& in, std::ostream& out, const std::string& question);

}  // namespace nullvane::cli
