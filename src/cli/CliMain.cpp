// nullvane-cli: the Windows build works on the machine it runs on; the
// native build has no Windows to work on and only lists the catalogue
// (its engine is tested over the simulated machine instead).
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliCommand.h"

#ifdef _WIN32
#include "platform/win32/StandardStreams.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Machine.h"

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(nullvane::platform::win32::Narrow(argv[i]));
    nullvane::platform::win32::Win32Machine machine;
    return nullvane::cli::RunCli(args, &machine.Machine(), std::cin, std::cout, std::cerr,
                                 nullvane::platform::win32::StandardErrorIsConsole());
}
#else
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return nullvane::cli::RunCli(args, nullptr, std::cin, std::cout, std::cerr);
}
#endif
