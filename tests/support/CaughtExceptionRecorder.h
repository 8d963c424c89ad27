#pragma once
// Collects what the catch-alls report while it lives, instead of the default
// writer.
#include "platform/CaughtException.h"

#include <mutex>
#include <string>
#include <vector>

namespace nullvane::testing {

class TCaughtExceptionRecorder {
public:
    TCaughtExceptionRecorder()
        : previous_(platform::SetCaughtExceptionSink([this](const std::string& line) {
              std::lock_guard lock(mutex_);
              lines_.push_back(line);
          })) {}
    ~TCaughtExceptionRecorder() { platform::SetCaughtExceptionSink(std::move(previous_)); }
    TCaughtExceptionRecorder(const TCaughtExceptionRecorder&) = delete;
    TCaughtExceptionRecorder& operator=(const TCaughtExceptionRecorder&) = delete;

    [[nodiscard]] std::vector<std::string> Lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    platform::TCaughtExceptionSink previous_;
};

}  // namespace nullvane::testing
