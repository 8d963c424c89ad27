#pragma once
// A log list for tests: keeps every line and the thread that added it.
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/RunContext.h"

namespace nullvane::testing {

class TRecordingLogSink final : public base::TLogSink {
public:
    void AddLine(const std::string& line) override {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(line);
        threads_.push_back(std::this_thread::get_id());
    }
    void ScrollToEnd() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++scrolls_;
    }
    void SetCurrentItem(const std::string& itemName) override {
        std::lock_guard<std::mutex> lock(mutex_);
        currentItem_ = itemName;
    }

    [[nodiscard]] std::vector<std::string> Lines() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.clear();
        threads_.clear();
    }
    [[nodiscard]] std::vector<std::thread::id> Threads() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return threads_;
    }
    [[nodiscard]] int Scrolls() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return scrolls_;
    }
    [[nodiscard]] std::string CurrentItem() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return currentItem_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::vector<std::thread::id> threads_;
    int scrolls_ = 0;
    std::string currentItem_;
};

}  // namespace nullvane::testing
