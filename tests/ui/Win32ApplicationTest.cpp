// The program's own waits on the real message loop (Windows build only).
#ifdef _WIN32
#include <gtest/gtest.h>

#include <chrono>

#include "ui/win32/Win32Controls.h"

namespace nullvane::ui::win32 {
namespace {

TEST(Win32ApplicationWait, AQuitMetWhileWaitingEndsTheWaitAndIsKeptForTheProgramsLoop) {
    TWin32Application application;
    PostQuitMessage(3);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(application.WaitUntil([] { return false; }, 3000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500))
        << "the program is closing: the wait does not run out its time";
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit was swallowed";
    EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
}  // namespace nullvane::ui::win32
#endif
