#include "cli/CliCommand.h"

#include <istream>
#include <memory>
#include <ostream>

#include "base/ProductInfo.h"
#include "cli/CliArguments.h"
#include "cli/CliTexts.h"
#include "cli/ConsoleDialogs.h"
#include "cli/ConsoleRunView.h"
#include "cli/CookiesCommand.h"
#include "cli/IndexDatCommand.h"
#include "cli/JsonReport.h"
#include "customlists/CustomList.h"
#include "run/CleanItemCatalogue.h"
#include "run/CleanerTable.h"
#include "run/RunController.h"
#include "base/Texts.h"
#include "settings/OptionsFile.h"
#include "settings/Winapp2StartUp.h"
#include "winapp2/Winapp2Catalogue.h"

namespace nullvane::cli {

namespace {

constexpr char kProgram[] = "nullvane-cli: ";
constexpr char kNoMachine[] =
    "this build has no Windows to work on; only --list, --version and --help run here, the other commands in the "
    "Windows build";

int ListCatalogue(const run::TCleanItemTree& tree, std::ostream& out) {
    const auto catalogue = winapp2::CurrentWinapp2Catalogue();
    std::string category;
    for (size_t i = 0; i < tree.Count(); ++i) {
        if (tree.Node(i).Level == 0) {
            category = tree.Node(i).Text;
            out << category << '\n';
            continue;
        }
        out << "  " << tree.NodeName(i);
        // A catalogue entry with its group, after a tab.
        if (catalogue && category == run::kCategoryWinapp2.Text)
            if (const auto* entry = winapp2::FindShownEntry(*catalogue, tree.Node(i).Text); entry && !entry->Group.empty())
                out << '\t' << entry->Group;
        out << '\n';
    }
    return 0;
}

// How the run ended, as the exit status; messages go to `err`.
int RunStatus(run::TStartOutcome outcome, const TConsoleRunView& view, std::ostream& err) {
    switch (outcome) {
    case run::TStartOutcome::Started:
        break;
    case run::TStartOutcome::NothingTicked:
        err << kProgram << texts::kCliNothingSelected << '\n';
        return 1;
    case run::TStartOutcome::Declined:
        err << kProgram << texts::kCliCleanDeclined << '\n';
        return 1;
    case run::TStartOutcome::BrowserOpen:
        return 3;
    case run::TStartOutcome::AnotherRunRemoving:
        return 6;
    case run::TStartOutcome::Busy:
        return 4;
    }
    switch (view.End) {
    case run::TRunEnd::Aborted:
        err << kProgram << base::texts::kCliRunAborted << view.Reason << '\n';
        return 4;
    case run::TRunEnd::FinishedWithErrors:
        err << kProgram << texts::kCliFinishedWithErrors << '\n';
        return 5;
    default:
        return 0;
    }
}

int RunItems(const TCliArguments& args, run::TCleanItemTree& tree, platform::Platform& machine, std::istream& in,
             std::ostream& out, std::ostream& err, bool errIsConsole) {
    for (const auto* names : {&args.Items, &args.Except}) {
        for (const std::string& item : *names) {
            if (!tree.FindItem(item)) {
                err << kProgram << texts::kCliUnknownItem << item << '\n';
                return 2;
            }
        }
    }

    // The saved selection and Fast Mode come from the window's settings file.
    auto& options = settings::CurrentOptions;
    settings::ReadWriteOptions(settings::TReadWrite::Read, machine, settings::OptionsFilePathForReading(machine), tree,
                               options);
    if (args.FastMode) options.FastScan = *args.FastMode;
    if (!args.Items.empty()) {
        // Ticked as clicks would tick them, so each category follows its items.
        tree.SetAllStates(run::kStateUnticked);
        for (const std::string& item : args.Items) {
            size_t index = *tree.FindItem(item);
            if (tree.Node(index).StateIndex != run::kStateTicked) tree.ClickStateImage(index);
        }
    }
    // Unticked for this run only: the settings are not written back.
    for (const std::string& item : args.Except) {
        size_t index = *tree.FindItem(item);
        if (tree.Node(index).StateIndex == run::kStateTicked) tree.ClickStateImage(index);
    }
    // The run's own questions are asked on the console; with --json standard
    // output holds the document alone, so they go to standard error.
    std::ostream& prompts = args.Json ? err : out;
    TConsoleDialogs console(in, prompts);
    platform::Platform consoleMachine = platform::WithDialogs(machine, console);
    TConsoleRunView view(in, prompts, err, args.Yes);
    view.ShowLog = !args.Json;
    if (errIsConsole) view.ProgressClock = &machine.system;
    if (args.CloseBrowsers) view.CloseBrowsersOn = &machine;
    run::TRunController runs(consoleMachine, tree, view);
    runs.KeepEntryPaths = args.Json && args.FastMode == false;
    const bool clean = args.Command == TCliCommand::Clean;
    const std::string started = UtcTimestamp(machine.system);
    // No window listens: the run is made on this thread, which is the one
    // its synchronised calls run on.
    base::TRunOptions runOptions = settings::RunOptionsOf(options);
    // A warned catalogue entry runs only with --yes; its warning is printed either way.
    runOptions.WarnedEntries = args.Yes ? base::TRunOptions::weRun : base::TRunOptions::weSkip;
    const auto outcome = runs.RunHere(clean ? base::rmUnattended : base::rmTest, runOptions);
    const int status = RunStatus(outcome, view, err);
    if (args.Json) {
        const TJsonRun run{.Kind = clean ? "clean" : "preview",
                           .Started = started,
                           .Ended = UtcTimestamp(machine.system),
                           .Status = status,
                           .Detail = args.FastMode == false};
        out << JsonReport(run, outcome == run::TStartOutcome::Started ? view.Report : run::TRunReport{}) << '\n';
    }
    out.flush();
    return status;
}

}  // namespace

int RunCli(const std::vector<std::string>& argList, platform::Platform* machine, std::istream& in,
           std::ostream& out, std::ostream& err, bool errIsConsole) {
    std::string error;
    auto args = ParseCliArguments(argList, error);
    if (!args) {
        if (error == texts::kCliUsage) {
            err << error << '\n';
        } else {
            err << kProgram << error << '\n';
        }
        return 2;
    }

    switch (args->Command) {
        case TCliCommand::Version:
            out << base::kProductName << ' ' << base::kVersionText << '\n';
            return 0;
        case TCliCommand::Help:
            out << texts::kCliUsage << '\n';
            return 0;
        default:
            break;
    }

    run::TCleanItemTree tree = run::CreateCleanItemTree();
    if (!machine) {
        if (args->Command == TCliCommand::List) return ListCatalogue(tree, out);
        err << kProgram << kNoMachine << '\n';
        return 1;
    }
    switch (args->Command) {
        case TCliCommand::IndexDat:
            return RunIndexDatCommand(*machine, args->File, out, err);
        case TCliCommand::WipeIndexDat:
            return RunWipeIndexDatCommand(*machine, args->File, args->Yes, in, out, err);
        case TCliCommand::Cookies:
            return RunCookiesCommand(*machine, out);
        case TCliCommand::KeepCookie:
        case TCliCommand::ForgetCookie:
            return RunKeepCookiesCommand(*machine, args->Items, args->Command == TCliCommand::KeepCookie, out, err);
        default:
            break;
    }
    if (args->Command == TCliCommand::CustomList) {
        for (const auto& line : customlists::ReadCustomList(*machine)) out << line.Key << '=' << line.Value << '\n';
        return 0;
    }
    // The installed applications join the catalogue as they do in the window.
    run::FillBrowserCategories(tree, *machine);
    run::FillApplicationsCategory(tree, *machine);
    if (!settings::LoadWinapp2AtStartUp(*machine, args->Winapp2File)) {
        err << kProgram << texts::kCliCannotReadWinapp2 << *args->Winapp2File << '\n';
        return 2;
    }
    run::FillWinapp2Category(tree);
    if (args->Command == TCliCommand::List) return ListCatalogue(tree, out);
    return RunItems(*args, tree, *machine, in, out, err, errIsConsole);
}

}  // namespace nullvane::cli
