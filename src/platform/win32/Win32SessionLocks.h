#pragma once
// Session locks as named mutexes in the session's own namespace ("Local\"),
// their names made per user by the user's SID.
#include "platform/SessionLocks.h"

namespace nullvane::platform::win32 {

class Win32SessionLocks final : public SessionLocks {
public:
    [[nodiscard]] std::unique_ptr<SessionLockHold> Acquire(const std::string& name, int timeoutMs) override;
    // The system's name of the lock `name` for the current user.
    [[nodiscard]] static std::wstring MutexName(const std::string& name);
};

}  // namespace nullvane::platform::win32
