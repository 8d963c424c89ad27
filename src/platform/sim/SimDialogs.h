#pragma once
// Scripted dialogs: message boxes answer from a queue (or a responder, or a
// default) and every box asked is recorded, from whichever thread asked it;
// save and open dialogs answer from their own queues.
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace nullvane::platform::sim {

struct AskedMessageBox {
    std::string text;
    std::string caption;
    uint32_t flags = 0;
};

class SimDialogs final : public Dialogs {
public:
    [[nodiscard]] int ShowMessage(const std::string& text, const std::string& caption, uint32_t flags) override;
    [[nodiscard]] std::optional<std::string> SaveFile(const FileDialogArgs& args) override;
    [[nodiscard]] std::optional<std::string> OpenFile(const FileDialogArgs& args) override;
    [[nodiscard]] std::optional<std::string> BrowseForFolder(const std::string& title) override;
    void SetOwnerWindow(WindowId window) override;

    // Answers for the next boxes, in order.
    void QueueAnswer(int answer);
    void QueueAnswers(std::initializer_list<int> answers);
    // The answer once the queue is empty. Unset, a box gives its default
    // button, as pressing Enter would (No for Yes/No with mbDefButton2).
    void SetDefaultAnswer(std::optional<int> answer);
    // Called (on the asking thread) for a box when the queue is empty, before
    // the default; lets a test act while the question is up.
    void SetResponder(std::function<int(const AskedMessageBox&)> responder);

    [[nodiscard]] std::vector<AskedMessageBox> Asked() const;
    [[nodiscard]] size_t AskedCount() const;
    void ClearAsked();
    [[nodiscard]] WindowId OwnerWindow() const;

    // nullopt answers as Cancel. With nothing queued, the dialogs are cancelled.
    void QueueSaveAnswer(std::optional<std::string> path);
    void QueueOpenAnswer(std::optional<std::string> path);
    [[nodiscard]] std::vector<FileDialogArgs> SaveRequests() const;
    [[nodiscard]] std::vector<FileDialogArgs> OpenRequests() const;
    // The folder browser answers from its own queue; its titles are recorded.
    void QueueFolderAnswer(std::optional<std::string> folder);
    [[nodiscard]] std::vector<std::string> FolderRequests() const;

    // The answer of the box's default button.
    [[nodiscard]] static int DefaultButtonAnswer(uint32_t flags);

private:
    mutable std::mutex mutex_;
    std::deque<int> answers_;
    std::optional<int> defaultAnswer_;
    std::function<int(const AskedMessageBox&)> responder_;
    std::vector<AskedMessageBox> asked_;
    WindowId owner_ = 0;
    std::deque<std::optional<std::string>> saveAnswers_, openAnswers_;
    std::vector<FileDialogArgs> saveRequests_, openRequests_;
    std::deque<std::optional<std::string>> folderAnswers_;
    std::vector<std::string> folderRequests_;
};

}  // namespace nullvane::platform::sim
