#pragma once
// The texts nullvane-cli writes: its usage, its complaints about the command
// line, its questions and its last words.
namespace nullvane::cli::texts {

inline constexpr char kCliUsage[] =
    "Usage: nullvane-cli --list\n"
    "       nullvane-cli --preview [ITEM ...] [--except ITEM ...] [--fast | --detail] [--json]\n"
    "       nullvane-cli --clean [ITEM ...] [--except ITEM ...] [--yes] [--close-browsers] [--fast | --detail]\n"
    "                    [--json]\n"
    "       (--list, --preview and --clean also take --winapp2 FILE: that catalogue instead of the one found)\n"
    "       nullvane-cli --index-dat FILE\n"
    "       nullvane-cli --custom-list\n"
    "       nullvane-cli --wipe-index-dat FILE [--yes]\n"
    "       nullvane-cli --cookies\n"
    "       nullvane-cli --keep-cookie ENTRY ... | --forget-cookie ENTRY ...\n"
    "       nullvane-cli --version | --help\n"
    "ITEM is a full item name as --list shows it, e.g. \"Windows - Clipboard\".\n"
    "Without ITEM the items saved by Nullvane are used.\n"
    "--except leaves the named items out of this run; the saved selection stays as it is.\n"
    "--json prints one JSON document instead of the log (with --detail, the files' paths too);\n"
    "questions and messages go to standard error.\n"
    "--close-browsers asks a ticked browser that is open to close (as its close button does)\n"
    "and waits up to 10 seconds for it; nothing is ended by force.\n"
    "--custom-list prints the entries of the custom list as the editor keeps them.\n"
    "--wipe-index-dat overwrites the records of an index.dat as the Index.dat viewer's Delete does.\n"
    "--cookies prints the Cookies Manager's lists: \"keep<TAB>ENTRY\" for each cookie kept,\n"
    "then \"found<TAB>SITE<TAB>FILE\" for each cookie file not kept and\n"
    "\"found<TAB>SITE<TAB>BROWSER\" for each browser holding cookies of a site not kept.\n"
    "--keep-cookie and --forget-cookie add entries (sites or cookie file names) to the\n"
    "cookies kept or take them off, save the list as the Manager's OK does and print it.\n"
    "Exit status: 0 done, 1 nothing ran, 2 bad command line, 3 a ticked browser is open,\n"
    "4 the run stopped at an error, 5 finished with errors (files in use were left),\n"
    "6 another clean of this user is removing.";
inline constexpr char kCliUnknownOption[] = "unknown option: ";
inline constexpr char kCliUnknownItem[] = "not a clean item: ";
inline constexpr char kCliNeedsFile[] = " needs a FILE";
inline constexpr char kCliCannotReadWinapp2[] = "cannot read the winapp2.ini file ";
inline constexpr char kCliNeedsItem[] = " needs at least one ITEM";
inline constexpr char kCliNeedsEntry[] = " needs at least one ENTRY";
inline constexpr char kCliOneCommand[] =
    "give exactly one of --list, --preview, --clean, --index-dat, --custom-list, --wipe-index-dat, --cookies, "
    "--keep-cookie, --forget-cookie: ";
inline constexpr char kCliCannotKeep[] = "cannot keep ";
inline constexpr char kCliConfirmWipePrefix[] = "Overwrite the records of ";
inline constexpr char kCliNotForCommand[] = "this option does not go with the command: ";
inline constexpr char kCliNothingSelected[] =
    "Nothing to do: no item was named and no item is saved as ticked.";
inline constexpr char kCliConfirmClean[] = "Permanently remove the selected items? [y/N] ";
inline constexpr char kCliCleanDeclined[] = "Nothing was removed.";
inline constexpr char kCliQuestionSuffix[] = " [y/N] ";

// A file left because another program holds it.
inline constexpr char kCliFinishedWithErrors[] =
    "finished with errors: some entries were left (the log or the report names each and why); close the programs "
    "that hold them and run the clean again.";

}  // namespace nullvane::cli::texts
