#include "platform/win32/MessagePump.h"

#include <algorithm>

namespace nullvane::platform::win32 {

bool PumpMessagesUntil(const std::function<bool()>& done, int timeoutMs, const TMessageDispatch& dispatch) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return done();
            }
            if (dispatch) {
                dispatch(message);
            } else {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        if (done()) return true;
        ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        // Wakes for posted and sent messages; short slices because `done` may
        // turn true without any message.
        DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10));
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

}  // namespace nullvane::platform::win32
