#include "platform/win32/Win32SessionLocks.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

namespace {

// Closes a kernel handle when it leaves scope.
class KernelHandle {
public:
    explicit KernelHandle(HANDLE handle = nullptr) : handle_(handle) {}
    ~KernelHandle() {
        if (handle_) CloseHandle(handle_);
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    HANDLE* Out() { return &handle_; }
    [[nodiscard]] HANDLE Get() const { return handle_; }
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }

private:
    HANDLE handle_;
};

// Frees text the system allocated with LocalAlloc.
class LocalText {
public:
    ~LocalText() {
        if (text_) LocalFree(text_);
    }
    LPWSTR* Out() { return &text_; }
    [[nodiscard]] LPCWSTR Get() const { return text_; }

private:
    LPWSTR text_ = nullptr;
};

// The user's SID as text ("S-1-5-21-..."), or the user's name if the token
// cannot tell it.
std::wstring UserIdentity() {
    KernelHandle token;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Out())) {
        DWORD size = 0;
        GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
        if (size > 0) {
            std::vector<BYTE> buffer(size);
            if (GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) {
                LocalText sid;
                if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, sid.Out()))
                    return sid.Get();
            }
        }
    }
    wchar_t user[257]{};
    DWORD length = 257;
    if (GetUserNameW(user, &length)) return user;
    return L"unknown";
}

// The mutex taken; released and closed on the thread that took it.
class Win32SessionLockHold final : public SessionLockHold {
public:
    explicit Win32SessionLockHold(HANDLE mutex) : mutex_(mutex) {}
    ~Win32SessionLockHold() override { ReleaseMutex(mutex_.Get()); }

private:
    KernelHandle mutex_;
};

}  // namespace

std::wstring Win32SessionLocks::MutexName(const std::string& name) {
    // A backslash is the namespace separator and may not appear in the name itself.
    std::wstring identity = UserIdentity();
    for (auto& c : identity)
        if (c == L'\\') c = L'_';
    return L"Local\\" + Widen(name) + L"." + identity;
}

std::unique_ptr<SessionLockHold> Win32SessionLocks::Acquire(const std::string& name, int timeoutMs) {
    KernelHandle mutex(CreateMutexW(nullptr, FALSE, MutexName(name).c_str()));
    if (!mutex.Get()) return nullptr;
    const DWORD waited = WaitForSingleObject(mutex.Get(), timeoutMs < 0 ? 0 : static_cast<DWORD>(timeoutMs));
    // Abandoned: the holder ended without letting go; the mutex is ours now.
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return nullptr;
    return std::make_unique<Win32SessionLockHold>(mutex.Release());
}

}  // namespace nullvane::platform::win32
