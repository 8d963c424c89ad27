// The program's entry: the machine's services, the Windows controls, and the
// program's run (hand-over to a running instance, or the main window and its
// message loop until it closes).
#include "app/StartUp.h"
#include "platform/CaughtException.h"
#include "platform/win32/Win32Machine.h"
#include "ui/win32/Win32Factory.h"

#include "platform/win32/WideText.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::vector<std::string> parameters;
    int count = 0;
    if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) parameters.push_back(nullvane::platform::win32::Narrow(arguments[i]));
        LocalFree(arguments);
    }
    try {
        nullvane::platform::win32::Win32Machine machine;
        nullvane::ui::win32::TWin32Factory controls;
        return nullvane::app::RunNullvane(machine.Machine(), controls, parameters);
    } catch (...) {
        nullvane::platform::ReportCaughtException("program run");
        return 1;
    }
}
