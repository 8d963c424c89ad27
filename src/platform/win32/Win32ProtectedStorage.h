#pragma once
// Protected Storage through pstorec.dll, loaded from the system folder when
// the service is made and freed with it: a system without the library (or
// its entry point) has no store, and the program runs on without one.
#include "platform/ProtectedStorage.h"

namespace nullvane::platform::win32 {

class Win32ProtectedStorage final : public ProtectedStorage {
public:
    Win32ProtectedStorage();
    ~Win32ProtectedStorage() override;
    Win32ProtectedStorage(const Win32ProtectedStorage&) = delete;
    Win32ProtectedStorage& operator=(const Win32ProtectedStorage&) = delete;

    [[nodiscard]] bool IsAvailable() override;
    [[nodiscard]] ProtectedStorePtr Open() override;

private:
    void* library_ = nullptr;         // HMODULE
    void* createInstance_ = nullptr;  // PStoreCreateInstance
};

}  // namespace nullvane::platform::win32
