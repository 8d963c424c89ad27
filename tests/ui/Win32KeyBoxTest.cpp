// The key box on real windows: key presses made with SendInput (Windows build only).
#ifdef _WIN32
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "ui/win32/Win32ChoiceControls.h"
#include "ui/win32/Win32Factory.h"

namespace nullvane::ui::win32 {
namespace {

// Presses the keys in order and lets them go in reverse, as a hand does.
void Type(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *it;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST(Win32KeyBox, TakesEveryKeyWithItsModifiersWhileEscEnterTabAltAndF10DoNothingElse) {
    TWin32Factory factory;
    TFormArgs ownerArgs;
    ownerArgs.Name = "owner";
    auto owner = factory.CreateForm(ownerArgs);
    owner->Show();
    TFormArgs args;
    args.Name = "keys";
    args.Width = 320;
    args.Height = 160;
    args.Owner = owner.get();
    auto form = factory.CreateForm(args);
    // A menu whose Alt+A shortcut the box must keep from running.
    TMenuItem menu;
    bool shortcutRan = false;
    menu.Add("&File").Add("&Run", [&] { shortcutRan = true; }, {false, true, false, 'A'});
    form->SetMenu(&menu);
    auto box = factory.CreateKeyBox(*form, {{10, 10, 200, 22}, ""});
    auto other = factory.CreateButton(*form, {{10, 50, 80, 24}, "Other"});
    const HWND boxWindow = dynamic_cast<TWin32KeyBox&>(*box).Window();

    std::vector<TKeyPress> presses;
    box->onKeyDown = [&](const TKeyPress& press) {
        presses.push_back(press);
        // What the box shows is only ever what its owner sets.
        box->SetText(std::to_string(presses.size()));
    };
    bool focusStayed = true;
    int step = 0;
    auto timer = factory.CreateTimer(*form);
    timer->SetInterval(100);
    timer->onTimer = [&] {
        focusStayed = focusStayed && (step == 0 || GetFocus() == boxWindow);
        switch (step++) {
        case 0:
            box->SetFocus();
            Type({VK_CONTROL, VK_SHIFT, VK_F9});
            break;
        case 3: Type({VK_ESCAPE}); break;
        case 6: Type({VK_MENU, 'A'}); break;
        case 9: Type({VK_F10}); break;
        case 12: Type({VK_TAB}); break;
        case 15: Type({VK_RETURN}); break;
        case 18: form->SetModalResult(mrOk); break;
        default: break;
        }
    };
    timer->SetEnabled(true);
    const TModalResult result = form->ShowModal();
    timer->SetEnabled(false);

    EXPECT_EQ(result, mrOk) << "a key closed the window";
    EXPECT_FALSE(shortcutRan);
    EXPECT_TRUE(focusStayed) << "a key moved the focus";
    auto find = [&](WORD key) {
        return std::find_if(presses.begin(), presses.end(), [&](const TKeyPress& p) { return p.Key == key; });
    };
    ASSERT_NE(find(VK_F9), presses.end());
    EXPECT_EQ(*find(VK_F9), (TKeyPress{VK_F9, true, true, false}));
    ASSERT_NE(find('A'), presses.end());
    EXPECT_EQ(*find('A'), (TKeyPress{'A', false, false, true}));
    for (WORD key : {VK_ESCAPE, VK_F10, VK_TAB, VK_RETURN}) EXPECT_NE(find(key), presses.end()) << key;
    EXPECT_EQ(box->Text(), std::to_string(presses.size())) << "typed characters reached the box";
}

}  // namespace
}  // namespace nullvane::ui::win32
#endif
