#pragma once
// Locks by name that every process of one user in one logon session shares
// (named mutexes in Windows): what one program instance uses to keep another
// from doing the same work at the same time.
#include <memory>
#include <string>

namespace nullvane::platform {

// A lock taken; destroying it lets the lock go. It belongs to the thread that
// took it and must be destroyed on that thread.
class SessionLockHold {
public:
    virtual ~SessionLockHold() = default;
};

class SessionLocks {
public:
    virtual ~SessionLocks() = default;
    // Takes the lock `name`, waiting at most `timeoutMs` while another thread
    // or process holds it; nullptr if it is still held then (or the system
    // refused it). A lock whose holder ended without letting it go is taken.
    // The thread that holds a lock may take it again; each hold lets go once.
    [[nodiscard]] virtual std::unique_ptr<SessionLockHold> Acquire(const std::string& name, int timeoutMs) = 0;
};

}  // namespace nullvane::platform
