#include "customlists/RunDataSection.h"

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/RegistryRemoval.h"
#include "run/FormatKilobytes.h"
#include "run/Texts.h"

namespace nullvane::customlists {

using platform::RegRoot;

namespace {

constexpr size_t kKeyNamesBuffer = 16384;
constexpr size_t kValueBuffer = 2048;
constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct TPlaceholders {
    std::string programFiles, windows, currentAppData, localAppData, commonAppData;
};

TPlaceholders ReadPlaceholders(run::TRunContext& run) {
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

bool IsAbsoluteHead(const std::string& head) {
    bool drive = head.size() >= 2 && ((head[0] >= 'A' && head[0] <= 'Z') || (head[0] >= 'a' && head[0] <= 'z')) &&
                 head[1] == ':' && (head.size() == 2 || head[2] == '\\');
    bool share = head.size() > 2 && head[0] == '\\' && head[1] == '\\';
    return drive || share;
}

// A ".." step would lead out of the folder the entry names.
bool ClimbsUp(const std::string& rest) {
    std::string path = "\\" + rest.substr(0, rest.find(',')) + "\\";
    return path.find("\\..\\") != std::string::npos;
}

// The section an item reads: the text two characters after the first "-".
std::string SectionName(const std::string& itemName) {
    auto dash = itemName.find('-');
    if (dash == std::string::npos || dash + 2 > itemName.size()) return {};
    return itemName.substr(dash + 2);
}

}  // namespace

void RunDataSection(run::TRunContext& run, const std::string& dataFile, const std::string& itemName) {
    platform::Platform& machine = run.Machine;
    std::string file = platform::WithTrailingBackslash(machine.system.ProgramFolder()) + dataFile;
    TPlaceholders placeholders = ReadPlaceholders(run);
    std::string section = SectionName(itemName);
    uint64_t bytes = 0;
    bool adminMessageShown = false;
    if (!section.empty()) {
        for (const std::string& key : machine.profiles.KeyNames(file, section, kKeyNamesBuffer)) {
            std::string value = machine.profiles.GetString(file, section, key, "", kValueBuffer);
            std::string line = key + "=" + value;
            if (line.find("DelRegValue") != std::string::npos) {
                auto slash = value.find('\\');
                std::string rootText = platform::UpperAscii(value.substr(0, slash));
                std::string rest = slash == std::string::npos ? std::string() : value.substr(slash + 1);
                auto comma = rest.find(',');
                if (comma == std::string::npos) {
                    run.ItemCount += removal::DeleteRegistryKey(run, rootText, rest);
                } else {
                    std::string subkey = rest.substr(0, comma);
                    std::string valueName = rest.substr(comma + 1);
                    int code = removal::GetWindowsVersionCode(machine);
                    bool allowed = rootText != "HKEY_LOCAL_MACHINE" || (code >= 1 && code <= 4) || code == 8 ||
                                   removal::IsAdministrator(machine);
                    if (allowed) {
                        run.ItemCount += removal::DeleteRegistryValues(run, rootText, subkey, valueName);
                    } else if (!adminMessageShown) {
                        adminMessageShown = true;
                        if (run.Mode() != run::rmUnattended)
                            (void)machine.dialogs.MessageBox(run::texts::kMustBeAdministrator, "", platform::mbOk);
                    }
                }
            }
            if (line.find("DelFile") != std::string::npos) {
                std::string entry = value;
                if (entry.find('\\') == std::string::npos) entry += '\\';
                auto slash = entry.find('\\');
                std::string head = ReplaceHead(entry.substr(0, slash), placeholders);
                std::string rest = entry.substr(slash + 1);
                // A placeholder without a value, or a head that is no drive
                // ("\Temp", "%WINDIR%"), would make a path relative to the
                // current drive or folder: outside what the entry names.
                if (!IsAbsoluteHead(head) || ClimbsUp(rest)) continue;
                head = platform::WithTrailingBackslash(head);
                auto comma = rest.find(',');
                if (comma == std::string::npos) {
                    std::string folder = head + rest;
                    bytes += removal::CleanFolder(run, folder, true, true, "", run.ItemCount);
                } else {
                    bytes += removal::CleanFilesByMask(run, head + rest.substr(0, comma), rest.substr(comma + 1),
                                                       false, run.ItemCount);
                }
            }
        }
    }
    run.ItemBytes = bytes;
    run.ItemSizeText = run::FormatKilobytes(bytes);
}

}  // namespace nullvane::customlists
