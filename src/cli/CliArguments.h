#pragma once
// The command line of nullvane-cli.
#include <optional>
#include <string>
#include <vector>

namespace nullvane::cli {

enum class TCliCommand {
    List,
    Preview,
    Clean,
    IndexDat,
    CustomList,
    WipeIndexDat,
    Cookies,
    KeepCookie,
    ForgetCookie,
    Version,
    Help
};

struct TCliArguments {
    TCliCommand Command = TCliCommand::Help;
    std::vector<std::string> Items;  // full item names, or the entries of --keep-cookie/--forget-cookie
    std::vector<std::string> Except;  // --except: ticked items left out of this run
    std::optional<std::string> Winapp2File;  // --winapp2 FILE: the catalogue instead of the one found
    std::string File;                // of --index-dat and --wipe-index-dat
    bool CloseBrowsers = false;      // --close-browsers: a ticked open browser is asked to close
    bool Yes = false;
    bool Json = false;               // --json: one JSON document instead of the log                // --yes: no question before a clean or a wipe
    std::optional<bool> FastMode;    // --fast / --detail, the last one given
};

// The arguments after the program name, or nullopt with `error` naming what
// is wrong (an unknown option, an option the command does not take, a
// missing or second command).
[[nodiscard]] std::optional<TCliArguments> ParseCliArguments(const std::vector<std::string>& args,
                                                             std::string& error);

}  // namespace nullvane::cli
