#include "cleaners/Cleaners.h"

#include <optional>
#include <string>

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/NormalFolderPath.h"
#include "removal/RegistryRemoval.h"

namespace nullvane::cleaners {

using removal::CleanFilesByMask;
using removal::CleanFolder;

namespace {

constexpr char kPassports[] = "Software\\Microsoft\\MSNMessenger\\PerPassportSettings";


// A folder only when the text names one absolutely ("X:\..." or a share)
// without a ".." step: a relative string would empty a folder below the
// current directory.
std::optional<std::string> AbsoluteFolder(const std::string& text) {
    const bool drive = text.size() >= 3 && text[1] == ':' && (text[2] == '\\' || text[2] == '/');
    const bool share = text.size() >= 3 && text[0] == '\\' && text[1] == '\\';
    if (!drive && !share) return std::nullopt;
    return removal::NormalFolderPath(text);
}

// The first passport's MessageLogPath, in registry order, that names an
// existing folder. Values are used as stored: references are not expanded.
std::optional<std::string> FindMessageLogFolder(base::TRunContext& run) {
    auto& registry = run.Machine.registry;
    std::vector<std::string> names;
    if (auto key = registry.OpenKey(platform::RegRoot::CurrentUser, kPassports, platform::RegAccess::Read)) {
        names = key->SubkeyNames();
    }
    for (const std::string& name : names) {
        auto passport =
            registry.OpenKey(platform::RegRoot::CurrentUser, std::string(kPassports) + "\\" + name, platform::RegAccess::Read);
        if (!passport) continue;
        auto value = passport->QueryValue("MessageLogPath");
        if (!value || (value->type != platform::rtString && value->type != platform::rtExpandString)) continue;
        auto folder = AbsoluteFolder(value->AsString());
        if (folder && run.Machine.files.DirectoryExists(*folder)) return folder;
    }
    return std::nullopt;
}

}  // namespace

void CleanMsnMessenger(base::TRunContext& run) {
    auto& files = run.Machine.files;
    uint64_t total = 0;
    const std::optional<std::string> logFolder = FindMessageLogFolder(run);
    // A lookup that gives nothing is not examined: the bare name would sit
    // at the current drive's root.
    const std::string documents = removal::GetMyDocumentsFolder(run.Machine);
    std::optional<std::string> received;
    if (!documents.empty()) received = removal::NormalFolderPath(documents + "My Received Files");
    // One folder is walked and counted once, whatever the letter case.
    if (logFolder && received && platform::SystemEqualsIgnoreCase(platform::Utf8ToUtf16(*logFolder),
                                                                  platform::Utf8ToUtf16(*received))) {
        received.reset();
    }
    if (logFolder) total = CleanFolder(run, *logFolder);
    if (received && files.DirectoryExists(*received)) {
        total += CleanFolder(run, *received);
    }
    run.ItemCount +=
        removal::DeleteUserRegistryKey(run, "Software\\Microsoft\\MessengerService\\ListCache\\.NET Messenger Service");
    const std::string appData = removal::GetAppDataFolder(run.Machine);
    if (!appData.empty()) total += CleanFilesByMask(run, appData + "Microsoft\\MSN Messenger", "*.sqm");
    const std::string localAppData = removal::GetLocalAppDataFolder(run.Machine);
    if (!localAppData.empty()) {
        total += CleanFilesByMask(run, localAppData + "Microsoft\\Messenger", "*.uccapilog");
        total += CleanFilesByMask(run, localAppData + "Microsoft\\Messenger", "*.bak");
    }
    run.Machine.internet.EndBrowserSession();
    const std::string profile = platform::WithTrailingBackslash(run.Machine.system.SpecialFolder(platform::csidlProfile));
    if (!profile.empty()) {
        total += CleanFilesByMask(run, profile + "Tracing", "WindowsLiveMessenger*.uccapilog");
        total += CleanFilesByMask(run, profile + "Tracing", "WindowsLiveMessenger*.uccapilog.bak");
    }
    run.SetItemBytes(total);
}

void CleanYahooMessenger(base::TRunContext& run) {
    const std::string programFiles = removal::GetProgramFilesFolder(run.Machine);
    if (programFiles.empty()) return;
    const std::string messenger = platform::WithTrailingBackslash(programFiles) + "Yahoo!\\Messenger";
    uint64_t total = CleanFilesByMask(run, messenger, "ypager.log");
    total += CleanFolder(run, messenger + "\\IMVCache");
    total += CleanFolder(run, messenger + "\\Profiles");
    total += CleanFilesByMask(run, messenger + "\\Cache", "*.*");
    total += CleanFilesByMask(run, messenger + "\\Logs", "*.*");
    total += CleanFilesByMask(run, messenger + "\\Games", "*.gif");
    run.SetItemBytes(total);
}

void CleanSkype(base::TRunContext& run) {
    const std::string appData = removal::GetAppDataFolder(run.Machine);
    if (appData.empty() || !run.Machine.files.DirectoryExists(appData)) return;
    run.SetItemBytes(CleanFilesByMask(run, appData + "Skype", "*.dbb", {.recurse = true}));
}

}  // namespace nullvane::cleaners
