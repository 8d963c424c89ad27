#include "customlists/RunDataSection.h"

#include <optional>

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/NormalFolderPath.h"
#include "removal/RegistryRemoval.h"
#include "base/Texts.h"

namespace nullvane::customlists {

using platform::RegRoot;

namespace {

constexpr size_t kKeyNamesBuffer = 16384;
constexpr size_t kValueBuffer = 2048;
constexpr size_t kLongValueBuffer = 65536;
constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct TPlaceholders {
    std::string programFiles, windows, currentAppData, localAppData, commonAppData;
};

TPlaceholders ReadPlaceholders(base::TRunContext& run) {
    platform::Platform& machine = run.Machine;
    return {removal::GetProgramFilesFolder(machine), machine.system.WindowsFolder(),
            removal::ReadRegistryString(machine, RegRoot::CurrentUser, kShellFolders, "AppData"),
            removal::ReadRegistryString(machine, RegRoot::CurrentUser, kShellFolders, "Local AppData"),
            removal::ReadRegistryString(machine, RegRoot::LocalMachine, kShellFolders, "Common AppData")};
}

// The head of a file entry with its placeholder replaced (exact case only).
std::string ReplaceHead(const std::string& head, const TPlaceholders& values) {
    if (head == "%ProgramFiles%") return values.programFiles;
    if (head == "%windir%") return values.windows;
    if (head == "{Current AppData}") return values.currentAppData;
    if (head == "{Local AppData}") return values.localAppData;
    if (head == "{Common AppData}") return values.commonAppData;
    if (head == "{C: Drive}") return "C:\\";
    return head;
}

// The folder of a file entry in its one normalised spelling, or nullopt
// when the entry does not name an absolute folder without "..".
std::optional<std::string> EntryFolder(const std::string& head, const std::string& folderPart) {
    bool drive = head.size() >= 2 && head[1] == ':' &&
                 ((head[0] >= 'A' && head[0] <= 'Z') || (head[0] >= 'a' && head[0] <= 'z'));
    bool share = head.size() > 2 && head[0] == '\\' && head[1] == '\\';
    if (!drive && !share) return std::nullopt;
    return removal::NormalFolderPath(platform::WithTrailingBackslash(head) + folderPart);
}

// An entry's folder is the user's text, not one of the system's folders:
// when it is itself a link, what lies behind it was never named. A Clean
// removes such a link alone where the system can; nothing behind it is
// listed or counted.
bool IsLinkedFolder(base::TRunContext& run, const std::string& folder) {
    auto attributes = run.Machine.files.GetAttributes(folder);
    return attributes && (*attributes & platform::faReparsePoint);
}

uint64_t RunFolderEntry(base::TRunContext& run, const std::string& folder) {
    return removal::CleanFolderNotLinked(run, folder, {.removeFolder = true});
}

uint64_t RunMaskEntry(base::TRunContext& run, const std::string& folder, const std::string& mask) {
    if (IsLinkedFolder(run, folder)) return 0;
    return removal::CleanFilesByMask(run, folder, mask);
}

// The section an item reads: the text two characters after the first "-".
std::string SectionName(const std::string& itemName) {
    auto dash = itemName.find('-');
    if (dash == std::string::npos || dash + 2 > itemName.size()) return {};
    return itemName.substr(dash + 2);
}

}  // namespace

void RunDataSection(base::TRunContext& run, const std::string& dataFile, const std::string& itemName) {
    platform::Platform& machine = run.Machine;
    std::string file = platform::WithTrailingBackslash(machine.system.ProgramFolder()) + dataFile;
    TPlaceholders placeholders = ReadPlaceholders(run);
    std::string section = SectionName(itemName);
    uint64_t bytes = 0;
    bool adminMessageShown = false;
    if (!section.empty()) {
        for (const std::string& key : machine.profiles.KeyNames(file, section, kKeyNamesBuffer)) {
            // Read past the runner's buffer to see whether it would cut the
            // value: a cut entry may name another folder that exists.
            std::string value = machine.profiles.GetString(file, section, key, "", kLongValueBuffer);
            if (value.size() >= kValueBuffer) {
                run.AddLogLine(run.LogPrefix + base::texts::kEntryTooLong + " " + key);
                continue;
            }
            std::string line = key + "=" + value;
            if (line.find("DelRegValue") != std::string::npos) {
                auto slash = value.find('\\');
                // As written: a refused entry is logged as the list gives it.
                std::string rootText = value.substr(0, slash);
                std::string rest = slash == std::string::npos ? std::string() : value.substr(slash + 1);
                auto comma = rest.find(',');
                if (comma == std::string::npos) {
                    run.ItemCount += removal::DeleteRegistryKey(run, rootText, rest);
                } else {
                    std::string subkey = rest.substr(0, comma);
                    std::string valueName = rest.substr(comma + 1);
                    int code = removal::GetWindowsVersionCode(machine);
                    bool allowed = platform::UpperAscii(rootText) != "HKEY_LOCAL_MACHINE" || (code >= 1 && code <= 4) ||
                                   code == 8 || removal::IsAdministrator(machine);
                    if (allowed) {
                        run.ItemCount += removal::DeleteRegistryValues(run, rootText, subkey, valueName);
                    } else if (!adminMessageShown) {
                        adminMessageShown = true;
                        if (run.Mode() != base::rmUnattended)
                            (void)machine.dialogs.ShowMessage(base::texts::kMustBeAdministrator, "", platform::mbOk);
                    }
                }
            }
            if (line.find("DelFile") != std::string::npos) {
                std::string entry = value;
                if (entry.find('\\') == std::string::npos) entry += '\\';
                auto slash = entry.find('\\');
                std::string head = ReplaceHead(entry.substr(0, slash), placeholders);
                std::string rest = entry.substr(slash + 1);
                auto comma = rest.find(',');
                // A placeholder without a value, a head that is no drive
                // ("\Temp", "%WINDIR%") or a ".." step would lead outside
                // the folder the entry names: such entries are skipped.
                auto folder = EntryFolder(head, rest.substr(0, comma));
                if (!folder) continue;
                bytes += comma == std::string::npos ? RunFolderEntry(run, *folder)
                                                    : RunMaskEntry(run, *folder, rest.substr(comma + 1));
            }
        }
    }
    run.SetItemBytes(bytes);
}

}  // namespace nullvane::customlists
