// The Windows controls' catch-alls keep every exception inside the window
// procedure or the message loop, and report what they caught.
#include <gtest/gtest.h>

#include "support/CaughtExceptionRecorder.h"
#include "ui/win32/Win32Controls.h"
#include "ui/win32/Win32Factory.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace nullvane::ui::win32 {
namespace {

using nullvane::testing::TCaughtExceptionRecorder;

constexpr UINT kThrowingMessage = WM_APP + 77;

bool AnyLineHas(const std::vector<std::string>& lines, const std::string& text) {
    for (const auto& line : lines) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

class CaughtInWindows : public ::testing::Test {
protected:
    TWin32Factory factory_;
    std::unique_ptr<TForm> form_ = factory_.CreateForm({"frmThrowing", "", "Throwing", 300, 200});
    HWND Window() { return dynamic_cast<TWin32Form&>(*form_).Window(); }
};

TEST_F(CaughtInWindows, AFormHandlerThatThrowsIsReportedWithItsTextAndTheMessageReturnsZero) {
    TCaughtExceptionRecorder recorder;
    form_->onMessage = [](TMessage& message) -> bool {
        if (message.Msg == kThrowingMessage) throw std::runtime_error("the form handler failed");
        return false;
    };
    EXPECT_EQ(SendMessageW(Window(), kThrowingMessage, 0, 0), 0);
    const auto lines = recorder.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(AnyLineHas(lines, "the form handler failed")) << lines[0];
    EXPECT_TRUE(AnyLineHas(lines, "window procedure")) << lines[0];
}

TEST_F(CaughtInWindows, ChildControlHandlersThatThrowAreReportedEvenWithoutAStdException) {
    TCaughtExceptionRecorder recorder;
    auto button = factory_.CreateButton(*form_, {{10, 10, 80, 25}, "Go"});
    button->onClick = [] { throw std::logic_error("the click failed"); };
    auto tree = factory_.CreateTreeView(*form_, {{10, 40, 200, 100}, ""});
    tree->onMouseDown = [](TMouseButton, TPoint) { throw 42; };

    SendMessageW(dynamic_cast<TWin32Button&>(*button).Window(), BM_CLICK, 0, 0);
    SendMessageW(dynamic_cast<TWin32TreeView&>(*tree).Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    // Let go of the capture a button press in a tree view may take.
    SendMessageW(dynamic_cast<TWin32TreeView&>(*tree).Window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

    const auto lines = recorder.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(AnyLineHas(lines, "the click failed")) << lines[0];
    EXPECT_TRUE(AnyLineHas(lines, "tree view mouse down: an exception that is not a std::exception")) << lines[1];
}

TEST_F(CaughtInWindows, AMenuShortCutThatThrowsIsReportedAndTheKeyGoesNoFurther) {
    TCaughtExceptionRecorder recorder;
    TMenuItem menu;
    menu.Add("File").Add("Save", [] { throw std::runtime_error("the save failed"); }, {true, false, false, 'S'});
    form_->SetMenu(&menu);
    BYTE keys[256] = {};
    ASSERT_TRUE(GetKeyboardState(keys));
    BYTE held[256];
    std::copy(std::begin(keys), std::end(keys), std::begin(held));
    held[VK_CONTROL] = 0x80;
    ASSERT_TRUE(SetKeyboardState(held));
    MSG msg{Window(), WM_KEYDOWN, 'S', 0, 0, {}};
    DispatchOne(msg);
    SetKeyboardState(keys);
    form_->SetMenu(nullptr);

    const auto lines = recorder.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(AnyLineHas(lines, "menu shortcut: the save failed")) << lines[0];
}

}  // namespace
}  // namespace nullvane::ui::win32
