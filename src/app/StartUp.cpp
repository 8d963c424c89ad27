#include "app/StartUp.h"

#include "app/MainForm.h"
#include "base/ProductInfo.h"
#include "platform/Text.h"
#include "base/RunContext.h"

namespace nullvane::app {

TStartSwitch ParseStartSwitch(const std::vector<std::string>& parameters) {
    if (parameters.empty()) return TStartSwitch::None;
    const std::string& first = parameters.front();
    if (first == "-Start") return TStartSwitch::Start;
    if (platform::EqualsIgnoreCase(first, "-cleanonce")) return TStartSwitch::CleanOnce;
    return TStartSwitch::None;
}

bool HandOverToRunningInstance(platform::Desktop& desktop) {
    const platform::WindowId running = desktop.FindWindowByClass(base::kMainWindowClass);
    if (running == 0) return false;
    desktop.PostToWindow(running, base::WM_SHOWMAINWINDOW, 0, 0);
    desktop.SetForegroundWindow(running);
    return true;
}

int RunNullvane(platform::Platform& machine, ui::TControlFactory& controls, const std::vector<std::string>& parameters) {
    if (HandOverToRunningInstance(machine.desktop)) return 0;
    controls.Application().SetTitle(base::kProductName);
    TfrmMain main(machine, controls, ParseStartSwitch(parameters));
    main.Show();
    controls.Application().Run();
    return 0;
}

}  // namespace nullvane::app
