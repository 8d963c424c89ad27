#include "cli/CliArguments.h"

#include <map>

#include "cli/CliTexts.h"

namespace nullvane::cli {

namespace {

const std::map<std::string, TCliCommand>& Commands() {
    static const std::map<std::string, TCliCommand> commands = {
        {"--list", TCliCommand::List},         {"--preview", TCliCommand::Preview},
        {"--clean", TCliCommand::Clean},       {"--index-dat", TCliCommand::IndexDat},
        {"--custom-list", TCliCommand::CustomList}, {"--wipe-index-dat", TCliCommand::WipeIndexDat},
        {"--cookies", TCliCommand::Cookies},   {"--keep-cookie", TCliCommand::KeepCookie},
        {"--forget-cookie", TCliCommand::ForgetCookie},
        {"--version", TCliCommand::Version},   {"--help", TCliCommand::Help},
    };
    return commands;
}

bool TakesItems(TCliCommand command) { return command == TCliCommand::Preview || command == TCliCommand::Clean; }

bool TakesEntries(TCliCommand command) {
    return command == TCliCommand::KeepCookie || command == TCliCommand::ForgetCookie;
}

}  // namespace

std::optional<TCliArguments> ParseCliArguments(const std::vector<std::string>& args, std::string& error) {
    TCliArguments parsed;
    std::optional<std::string> command;
    // Options other than the command, kept to check them against it.
    std::vector<std::string> modifiers;
    // Names after --except, up to the next option, are the ones left out.
    bool excepting = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg[0] != '-') {
            (excepting ? parsed.Except : parsed.Items).push_back(arg);
            continue;
        }
        if (excepting && parsed.Except.empty()) {
            error = std::string("--except") + texts::kCliNeedsItem;
            return std::nullopt;
        }
        excepting = false;
        auto known = Commands().find(arg);
        if (known != Commands().end()) {
            if (command) {
                error = std::string(texts::kCliOneCommand) + arg;
                return std::nullopt;
            }
            command = arg;
            parsed.Command = known->second;
            if (parsed.Command == TCliCommand::IndexDat || parsed.Command == TCliCommand::WipeIndexDat) {
                if (i + 1 >= args.size()) {
                    error = arg + texts::kCliNeedsFile;
                    return std::nullopt;
                }
                parsed.File = args[++i];
            }
        } else if (arg == "--fast" || arg == "--detail") {
            parsed.FastMode = arg == "--fast";
            modifiers.push_back(arg);
        } else if (arg == "--json") {
            parsed.Json = true;
            modifiers.push_back(arg);
        } else if (arg == "--yes") {
            parsed.Yes = true;
            modifiers.push_back(arg);
        } else if (arg == "--winapp2") {
            if (i + 1 >= args.size()) {
                error = arg + texts::kCliNeedsFile;
                return std::nullopt;
            }
            parsed.Winapp2File = args[++i];
            modifiers.push_back(arg);
        } else if (arg == "--except") {
            excepting = true;
            modifiers.push_back(arg);
        } else if (arg == "--close-browsers") {
            parsed.CloseBrowsers = true;
            modifiers.push_back(arg);
        } else {
            error = std::string(texts::kCliUnknownOption) + arg;
            return std::nullopt;
        }
    }
    if (excepting && parsed.Except.empty()) {
        error = std::string("--except") + texts::kCliNeedsItem;
        return std::nullopt;
    }
    if (!command) {
        error = texts::kCliUsage;
        return std::nullopt;
    }
    for (const std::string& modifier : modifiers) {
        bool fits = modifier == "--yes" ? parsed.Command == TCliCommand::Clean || parsed.Command == TCliCommand::WipeIndexDat
                    : modifier == "--close-browsers" ? parsed.Command == TCliCommand::Clean
                    : modifier == "--winapp2"        ? TakesItems(parsed.Command) || parsed.Command == TCliCommand::List
                                                     : TakesItems(parsed.Command);
        if (!fits) {
            error = std::string(texts::kCliNotForCommand) + modifier;
            return std::nullopt;
        }
    }
    if (!parsed.Items.empty() && !TakesItems(parsed.Command) && !TakesEntries(parsed.Command)) {
        error = std::string(texts::kCliNotForCommand) + parsed.Items.front();
        return std::nullopt;
    }
    if (parsed.Items.empty() && TakesEntries(parsed.Command)) {
        error = *command + texts::kCliNeedsEntry;
        return std::nullopt;
    }
    return parsed;
}

}  // namespace nullvane::cli
