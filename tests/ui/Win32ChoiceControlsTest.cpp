// Radio groups, drop-down lists and pages on real windows (Windows build only):
// their notifications reach the owner through the windows that hold them.
#ifdef _WIN32
#include <gtest/gtest.h>

#include "ui/win32/Win32ChoiceControls.h"
#include "ui/win32/Win32Factory.h"
#include "ui/win32/Win32PageControl.h"

namespace nullvane::ui::win32 {
namespace {

TEST(Win32ChoiceControls, ChoicesOnAPageReachTheirOwnerAndADisabledGroupDisablesEveryChoice) {
    TWin32Factory factory;
    TFormArgs args;
    args.Name = "choices";
    auto form = factory.CreateForm(args);
    auto pages = factory.CreatePageControl(*form, {{4, 4, 380, 260}, ""});
    auto& first = pages->AddPage("First");
    auto& second = pages->AddPage("Second");
    auto list = factory.CreateComboBox(first, {{10, 10, 60, 21}, ""});
    auto group = factory.CreateRadioGroup(second, {{10, 10, 300, 90}, "Choices"});
    group->SetColumns(2);
    group->SetItems({"One", "Two", "Three"});
    form->Show();
    pages->SetActivePageIndex(1);
    EXPECT_FALSE(IsWindowVisible(dynamic_cast<TWin32TabSheet&>(first).Window()));

    int groupClicks = 0;
    group->onClick = [&] { ++groupClicks; };
    const HWND groupWindow = dynamic_cast<TWin32RadioGroup&>(*group).Window();
    const HWND two = FindWindowExW(groupWindow, nullptr, L"Button", L"Two");
    ASSERT_TRUE(two);
    SendMessageW(two, BM_CLICK, 0, 0);
    EXPECT_EQ(groupClicks, 1);
    EXPECT_EQ(group->ItemIndex(), 1);
    group->SetItemIndex(2);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(groupClicks, 1) << "setting the choice is no click";
    group->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(two));

    for (const char* passes : {"1", "2", "3"}) list->AddItem(passes);
    int listChanges = 0;
    list->onChange = [&] { ++listChanges; };
    list->SetItemIndex(1);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->ItemText(2), "3");
    EXPECT_EQ(listChanges, 0);
    // The list tells its page of a user's pick; the page passes it on.
    const HWND listWindow = dynamic_cast<TWin32ComboBox&>(*list).Window();
    SendMessageW(GetParent(listWindow), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(listWindow), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(listWindow));
    EXPECT_EQ(listChanges, 1);
}

}  // namespace
}  // namespace nullvane::ui::win32
#endif
