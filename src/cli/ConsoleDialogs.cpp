#include "cli/ConsoleDialogs.h"

#include <istream>
#include <ostream>
#include <string>

#include "cli/CliTexts.h"

namespace nullvane::cli {

bool AskYesOnConsole(std::istream& in, std::ostream& out, const std::string& question) {
    out << question << std::flush;
    std::string answer;
    if (!std::getline(in, answer)) {
        // No console input: the question stays unanswered, which is No.
        out << '\n' << std::flush;
        return false;
    }
    while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' ' || answer.back() == '\t')) {
        answer.pop_back();
    }
    return answer == "y" || answer == "Y";
}

int TConsoleDialogs::ShowMessage(const std::string& text, const std::string& /*caption*/, uint32_t flags) {
    std::lock_guard<std::mutex> lock(mutex_);
    const uint32_t buttons = flags & 0xF;
    if (buttons == platform::mbOk) {
        out_ << text << '\n' << std::flush;
        return platform::idOk;
    }
    bool yes = AskYesOnConsole(in_, out_, text + texts::kCliQuestionSuffix);
    if (buttons == platform::mbOkCancel) return yes ? platform::idOk : platform::idCancel;
    return yes ? platform::idYes : platform::idNo;
}

std::optional<std::string> TConsoleDialogs::SaveFile(const platform::FileDialogArgs& /*args*/) {
    return std::nullopt;
}

std::optional<std::string> TConsoleDialogs::OpenFile(const platform::FileDialogArgs& /*args*/) {
    return std::nullopt;
}

}  // namespace nullvane::cli
