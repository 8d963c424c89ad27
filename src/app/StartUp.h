#pragma once
// From the process start to the main window's message loop: the command
// line switch, the single-instance hand-over, the program's run.
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "ui/Factory.h"

namespace nullvane::app {

enum class TStartSwitch { None, Start, CleanOnce };

// Only the first parameter counts: "-Start" exactly, "-cleanonce" in any case.
[[nodiscard]] TStartSwitch ParseStartSwitch(const std::vector<std::string>& parameters);

// If a main window of this program already exists, asks it to show itself,
// brings it to the foreground and answers true: this process then ends.
[[nodiscard]] bool HandOverToRunningInstance(platform::Desktop& desktop);

// The whole program: hand-over or main window, message loop, orderly end.
int RunNullvane(platform::Platform& machine, ui::TControlFactory& controls, const std::vector<std::string>& parameters);

}  // namespace nullvane::app
