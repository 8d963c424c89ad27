#include "platform/sim/SimDialogs.h"

namespace nullvane::platform::sim {

int SimDialogs::DefaultButtonAnswer(uint32_t flags) {
    int button = (flags & mbDefButton3) ? 3 : (flags & mbDefButton2) ? 2 : 1;
    switch (flags & 0xF) {
        case mbOkCancel:
            return button == 2 ? idCancel : idOk;
        case mbYesNo:
            return button == 2 ? idNo : idYes;
        case mbYesNoCancel:
            return button == 3 ? idCancel : button == 2 ? idNo : idYes;
        default:
            return idOk;
    }
}

int SimDialogs::ShowMessage(const std::string& text, const std::string& caption, uint32_t flags) {
    AskedMessageBox box{text, caption, flags};
    std::function<int(const AskedMessageBox&)> responder;
    {
        std::lock_guard lock(mutex_);
        asked_.push_back(box);
        if (!answers_.empty()) {
            int answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        responder = responder_;
        if (!responder) return defaultAnswer_ ? *defaultAnswer_ : DefaultButtonAnswer(flags);
    }
    // Outside the lock: the responder may ask more boxes or inspect the record.
    return responder(box);
}

std::optional<std::string> SimDialogs::SaveFile(const FileDialogArgs& args) {
    std::lock_guard lock(mutex_);
    saveRequests_.push_back(args);
    if (saveAnswers_.empty()) return std::nullopt;
    auto answer = saveAnswers_.front();
    saveAnswers_.pop_front();
    return answer;
}

std::optional<std::string> SimDialogs::OpenFile(const FileDialogArgs& args) {
    std::lock_guard lock(mutex_);
    openRequests_.push_back(args);
    if (openAnswers_.empty()) return std::nullopt;
    auto answer = openAnswers_.front();
    openAnswers_.pop_front();
    return answer;
}

void SimDialogs::SetOwnerWindow(WindowId window) {
    std::lock_guard lock(mutex_);
    owner_ = window;
}

void SimDialogs::QueueAnswer(int answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

void SimDialogs::QueueAnswers(std::initializer_list<int> answers) {
    std::lock_guard lock(mutex_);
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

void SimDialogs::SetDefaultAnswer(std::optional<int> answer) {
    std::lock_guard lock(mutex_);
    defaultAnswer_ = answer;
}

void SimDialogs::SetResponder(std::function<int(const AskedMessageBox&)> responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

std::vector<AskedMessageBox> SimDialogs::Asked() const {
    std::lock_guard lock(mutex_);
    return asked_;
}

size_t SimDialogs::AskedCount() const {
    std::lock_guard lock(mutex_);
    return asked_.size();
}

void SimDialogs::ClearAsked() {
    std::lock_guard lock(mutex_);
    asked_.clear();
}

WindowId SimDialogs::OwnerWindow() const {
    std::lock_guard lock(mutex_);
    return owner_;
}

void SimDialogs::QueueSaveAnswer(std::optional<std::string> path) {
    std::lock_guard lock(mutex_);
    saveAnswers_.push_back(std::move(path));
}

std::optional<std::string> SimDialogs::BrowseForFolder(const std::string& title) {
    std::lock_guard lock(mutex_);
    folderRequests_.push_back(title);
    if (folderAnswers_.empty()) return std::nullopt;
    auto answer = folderAnswers_.front();
    folderAnswers_.pop_front();
    return answer;
}

void SimDialogs::QueueFolderAnswer(std::optional<std::string> folder) {
    std::lock_guard lock(mutex_);
    folderAnswers_.push_back(std::move(folder));
}

std::vector<std::string> SimDialogs::FolderRequests() const {
    std::lock_guard lock(mutex_);
    return folderRequests_;
}

void SimDialogs::QueueOpenAnswer(std::optional<std::string> path) {
    std::lock_guard lock(mutex_);
    openAnswers_.push_back(std::move(path));
}

std::vector<FileDialogArgs> SimDialogs::SaveRequests() const {
    std::lock_guard lock(mutex_);
    return saveRequests_;
}

std::vector<FileDialogArgs> SimDialogs::OpenRequests() const {
    std::lock_guard lock(mutex_);
    return openRequests_;
}

}  // namespace nullvane::platform::sim
