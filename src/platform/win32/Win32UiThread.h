#pragma once
// Synchronised calls into the window thread: a hidden message-only window,
// created on the window thread, receives each call as a sent message.
#include <cstdint>
#include <functional>

#include "platform/UiThread.h"

namespace nullvane::platform::win32 {

class Win32UiThread final : public UiThread {
public:
    // Must be created on the window thread. Throws std::runtime_error if its
    // window cannot be created.
    Win32UiThread();
    // On the window thread: calls still waiting are refused (EUiThreadClosed).
    ~Win32UiThread() override;
    Win32UiThread(const Win32UiThread&) = delete;
    Win32UiThread& operator=(const Win32UiThread&) = delete;

    void Synchronize(const std::function<void()>& call) override;
    bool ServeCallsUntil(const std::function<bool()>& done, int timeoutMs) override;

private:
    uintptr_t window_ = 0;
    uint32_t threadId_ = 0;
};

}  // namespace nullvane::platform::win32
