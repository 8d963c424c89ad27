#include "platform/sim/SimDesktop.h"

#include <algorithm>

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
    std::erase_if(hotKeys_, [&](const HotKey& key) { return key.window == window; });
    blockReasons_.erase(window);
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

bool SimDesktop::PostToWindow(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
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

namespace nullvane::platform::sim {

namespace {

// Edges in 64 bits: a rectangle may lie anywhere an int reaches.
struct TEdges {
    int64_t left, top, right, bottom;
};

TEdges EdgesOf(const ScreenRect& r) {
    return {r.left, r.top, int64_t{r.left} + std::max(r.width, 0), int64_t{r.top} + std::max(r.height, 0)};
}

int64_t OverlapArea(const TEdges& a, const TEdges& b) {
    const int64_t width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int64_t height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// Squared distance between the nearest points of two rectangles, as doubles
// (the 64-bit edges would overflow when squared).
double DistanceSquared(const TEdges& a, const TEdges& b) {
    const double dx = static_cast<double>(std::max<int64_t>({0, b.left - a.right, a.left - b.right}));
    const double dy = static_cast<double>(std::max<int64_t>({0, b.top - a.bottom, a.top - b.bottom}));
    return dx * dx + dy * dy;
}

}  // namespace

MonitorArea SimDesktop::MonitorNear(const ScreenRect& rect) {
    std::lock_guard lock(mutex_);
    const TEdges wanted = EdgesOf(rect);
    const SimMonitor* best = &monitors_.front();
    int64_t bestOverlap = 0;
    double bestDistance = DistanceSquared(wanted, EdgesOf(best->bounds));
    for (const auto& monitor : monitors_) {
        const TEdges edges = EdgesOf(monitor.bounds);
        const int64_t overlap = OverlapArea(wanted, edges);
        const double distance = DistanceSquared(wanted, edges);
        if (overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && distance < bestDistance)) {
            best = &monitor;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return MonitorArea{best->workArea, bestOverlap > 0};
}

void SimDesktop::SetMonitors(std::vector<SimMonitor> monitors) {
    if (monitors.empty()) return;
    std::lock_guard lock(mutex_);
    monitors_ = std::move(monitors);
}

uint16_t SimDesktop::AddGlobalAtom(const std::string& name) {
    std::lock_guard lock(mutex_);
    // Atom names compare without regard to case; adding one again counts a reference.
    const std::string wanted = SimRegistry::FoldName(name);
    for (auto& [atom, entry] : atoms_) {
        if (SimRegistry::FoldName(entry.first) == wanted) {
            ++entry.second;
            return atom;
        }
    }
    const uint16_t atom = nextAtom_++;
    atoms_[atom] = {name, 1};
    return atom;
}

uint16_t SimDesktop::FindGlobalAtom(const std::string& name) {
    std::lock_guard lock(mutex_);
    const std::string wanted = SimRegistry::FoldName(name);
    for (const auto& [atom, entry] : atoms_) {
        if (SimRegistry::FoldName(entry.first) == wanted) return atom;
    }
    return 0;
}

void SimDesktop::DeleteGlobalAtom(uint16_t atom) {
    std::lock_guard lock(mutex_);
    auto it = atoms_.find(atom);
    if (it != atoms_.end() && --it->second.second == 0) atoms_.erase(it);
}

bool SimDesktop::RegisterHotKey(WindowId window, int id, uint32_t modifiers, uint32_t virtualKey) {
    std::lock_guard lock(mutex_);
    const auto taken = [&](uint32_t m, uint32_t k) { return m == modifiers && k == virtualKey; };
    for (const auto& [m, k] : heldElsewhere_) {
        if (taken(m, k)) return false;
    }
    for (const HotKey& key : hotKeys_) {
        if (taken(key.modifiers, key.virtualKey) || (key.window == window && key.id == id)) return false;
    }
    hotKeys_.push_back({window, id, modifiers, virtualKey});
    return true;
}

void SimDesktop::UnregisterHotKey(WindowId window, int id) {
    std::lock_guard lock(mutex_);
    std::erase_if(hotKeys_, [&](const HotKey& key) { return key.window == window && key.id == id; });
}

std::vector<TopLevelWindow> SimDesktop::TopLevelWindows() {
    std::lock_guard lock(mutex_);
    std::vector<TopLevelWindow> windows;
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        windows.push_back({it->first, it->second.className, it->second.visible, it->second.processId});
    }
    return windows;
}

std::string SimDesktop::ProcessImageName(uint32_t processId) {
    std::lock_guard lock(mutex_);
    auto it = processImages_.find(processId);
    return it == processImages_.end() ? std::string() : it->second;
}

void SimDesktop::SetProcessImage(uint32_t processId, std::string imageName) {
    std::lock_guard lock(mutex_);
    processImages_[processId] = std::move(imageName);
}

void SimDesktop::SetWindowProcess(WindowId window, uint32_t processId) {
    std::lock_guard lock(mutex_);
    if (auto it = windows_.find(window); it != windows_.end()) it->second.processId = processId;
}

void SimDesktop::ShowWindowAsync(WindowId window, bool show) { SetWindowVisible(window, show); }

bool SimDesktop::SetShutdownBlockReason(WindowId window, const std::string& reason) {
    std::lock_guard lock(mutex_);
    if (windows_.count(window) == 0) return false;
    blockReasonsSet_.push_back(reason);
    if (reason.empty()) {
        blockReasons_.erase(window);
    } else {
        blockReasons_[window] = reason;
    }
    return true;
}

std::vector<std::string> SimDesktop::ShutdownBlockReasons() const {
    std::lock_guard lock(mutex_);
    return blockReasonsSet_;
}

std::string SimDesktop::ShutdownBlockReason(WindowId window) const {
    std::lock_guard lock(mutex_);
    const auto it = blockReasons_.find(window);
    return it == blockReasons_.end() ? std::string() : it->second;
}

void SimDesktop::HoldHotKeyElsewhere(uint32_t modifiers, uint32_t virtualKey) {
    std::lock_guard lock(mutex_);
    heldElsewhere_.emplace_back(modifiers, virtualKey);
}

std::vector<std::pair<WindowId, int>> SimDesktop::HotKeys() const {
    std::lock_guard lock(mutex_);
    std::vector<std::pair<WindowId, int>> keys;
    for (const HotKey& key : hotKeys_) keys.emplace_back(key.window, key.id);
    return keys;
}

std::vector<std::string> SimDesktop::Atoms() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (const auto& [atom, entry] : atoms_) names.push_back(entry.first);
    return names;
}

void SimDesktop::SetWindowVisible(WindowId window, bool visible) {
    std::lock_guard lock(mutex_);
    if (auto it = windows_.find(window); it != windows_.end()) it->second.visible = visible;
}

bool SimDesktop::IsWindowVisible(WindowId window) const {
    std::lock_guard lock(mutex_);
    auto it = windows_.find(window);
    return it != windows_.end() && it->second.visible;
}

}  // namespace nullvane::platform::sim
