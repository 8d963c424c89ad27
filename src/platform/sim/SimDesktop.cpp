#include "platform/sim/SimDesktop.h"

#include "platform/sim/SimRegistry.h"

namespace nullvane::platform::sim {

SimDesktop::SimDesktop(SimMessageQueue& queue) : queue_(queue) {}

WindowId SimDesktop::RegisterWindow(std::string className, WindowHandler handler) {
    std::lock_guard lock(mutex_);
    WindowId id = nextId_;
    nextId_ += 4;
    windows_[id] = Window{std::move(className), std::move(handler)};
    return id;
}

void SimDesktop::SetHandler(WindowId window, WindowHandler handler) {
    std::lock_guard lock(mutex_);
    if (auto it = windows_.find(window); it != windows_.end()) it->second.handler = std::move(handler);
}

bool SimDesktop::DestroyWindow(WindowId window) {
    std::lock_guard lock(mutex_);
    return windows_.erase(window) > 0;
}

bool SimDesktop::IsWindow(WindowId window) const {
    std::lock_guard lock(mutex_);
    return windows_.count(window) > 0;
}

WindowId SimDesktop::FindWindowByClass(const std::string& className) {
    // Window class names are matched the way the system matches them: without regard to case.
    const std::string wanted = SimRegistry::FoldName(className);
    std::lock_guard lock(mutex_);
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (SimRegistry::FoldName(it->second.className) == wanted) return it->first;
    return 0;
}

bool SimDesktop::PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    std::lock_guard lock(mutex_);
    if (window == 0 || windows_.count(window) == 0) return false;
    // Queued under the lock so that the record and the queue keep one order.
    bool queued = queue_.Post([this, window, message, wParam, lParam] {
        WindowHandler handler;
        {
            std::lock_guard deliveryLock(mutex_);
            auto it = windows_.find(window);
            if (it == windows_.end()) return;
            handler = it->second.handler;
        }
        if (handler) handler(message, wParam, lParam);
    });
    if (queued) posted_.push_back(PostedMessage{window, message, wParam, lParam});
    return queued;
}

bool SimDesktop::SetForegroundWindow(WindowId window) {
    std::lock_guard lock(mutex_);
    if (windows_.count(window) == 0) return false;
    foregroundRequests_.push_back(window);
    return true;
}

std::vector<PostedMessage> SimDesktop::Posted() const {
    std::lock_guard lock(mutex_);
    return posted_;
}

std::vector<PostedMessage> SimDesktop::PostedTo(WindowId window) const {
    std::lock_guard lock(mutex_);
    std::vector<PostedMessage> result;
    for (const auto& message : posted_)
        if (message.window == window) result.push_back(message);
    return result;
}

void SimDesktop::ClearPosted() {
    std::lock_guard lock(mutex_);
    posted_.clear();
}

std::vector<WindowId> SimDesktop::ForegroundRequests() const {
    std::lock_guard lock(mutex_);
    return foregroundRequests_;
}

WindowId SimDesktop::ForegroundWindow() const {
    std::lock_guard lock(mutex_);
    return foregroundRequests_.empty() ? 0 : foregroundRequests_.back();
}

}  // namespace nullvane::platform::sim

namespace nullvane::platform::sim {

bool SimDesktop::EmptyRecycleBin() {
    std::lock_guard lock(mutex_);
    ++emptyRecycleBinCount_;
    return true;
}

bool SimDesktop::EmptyClipboard() {
    std::lock_guard lock(mutex_);
    clipboardText_.clear();
    return true;
}

int SimDesktop::EmptyRecycleBinCount() const {
    std::lock_guard lock(mutex_);
    return emptyRecycleBinCount_;
}

void SimDesktop::SetClipboardText(std::string text) {
    std::lock_guard lock(mutex_);
    clipboardText_ = std::move(text);
}

std::string SimDesktop::ClipboardText() const {
    std::lock_guard lock(mutex_);
    return clipboardText_;
}

}  // namespace nullvane::platform::sim
