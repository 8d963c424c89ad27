#include "cleaners/InternetExplorerCookies.h"

#include <optional>
#include <string>
#include <vector>

#include "cleaners/Cleaners.h"
#include "cleaners/CookieKeepList.h"
#include "cleaners/CookieSite.h"
#include "cleaners/InternetExplorerFolders.h"
#include "indexdat/IndexDatWiper.h"
#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/NormalFolderPath.h"

namespace nullvane::cleaners {

namespace {

using platform::WithTrailingBackslash;

// The folder, normalised and with its trailing "\", if it exists and is no link.
std::optional<std::string> RealFolder(platform::FileSystem& files, const std::string& path) {
    if (path.empty()) return std::nullopt;
    auto normal = removal::NormalFolderPath(path);
    if (!normal) return std::nullopt;
    auto attributes = files.GetAttributes(*normal);
    if (!attributes || !(*attributes & platform::faDirectory) || (*attributes & platform::faReparsePoint))
        return std::nullopt;
    return WithTrailingBackslash(*normal);
}

bool HasTxtFile(platform::FileSystem& files, const std::string& folder) {
    return !removal::FilesIn(files, folder, "*.txt").empty();
}

// One folder's cookie files but the kept ones; the byte total of those counted.
uint64_t CleanCookieFiles(run::TRunContext& run, const std::string& folder, const TCookieKeepList& keep) {
    platform::FileSystem& files = run.Machine.files;
    return removal::CleanFolderWith(
        run, folder,
        {.recurse = false,
         .removeSubfolders = false,
         .rootQuestion = removal::TFolderQuestion::fqNone,
         .documentsQuestion = removal::TFolderQuestion::fqNone,
         .eachFile = [&](const removal::TWalkFile& file) {
             if (file.entry.name.find(".txt") == std::string::npos) return removal::TFileVerdict::fvKeep;
             return keep.Keeps(file.entry.name, ReadCookieSite(files, file.path)) ? removal::TFileVerdict::fvKeep
                                                                                : removal::TFileVerdict::fvTake;
         }});
}

}  // namespace

std::vector<std::string> IECookieFolders(platform::Platform& machine) {
    platform::FileSystem& files = machine.files;
    auto folder = RealFolder(files, GetIESpecialFolder(machine, platform::csidlCookies));
    if (!folder) folder = RealFolder(files, JoinPath(machine.system.WindowsFolder(), "cookies"));
    if (!folder) return {};
    auto low = RealFolder(files, *folder + "Low");
    if (!low || !HasTxtFile(files, *low)) return {*folder};
    if (!HasTxtFile(files, *folder)) return {*low};
    return {*folder, *low};
}

void CleanIECookies(run::TRunContext& run) {
    const std::vector<std::string> folders = IECookieFolders(run.Machine);
    if (folders.empty()) return;
    const TCookieKeepList keep = TCookieKeepList::Read(run.Machine);
    uint64_t bytes = 0;
    for (const std::string& folder : folders) {
        bytes += CleanCookieFiles(run, folder, keep);
        // The index names the kept cookies too: with a keep list it stays.
        if (!run.IsTestRun() && keep.Empty())
            indexdat::WipeIndexDat(run.Machine.files, run.Machine.system, folder + "index.dat", run.Options);
    }
    // An empty lookup skips its step.
    std::string domStore = JoinPath(GetIELocalFolder(run.Machine), "DOMStore");
    if (!domStore.empty()) bytes += removal::CleanFilesByMask(run, domStore, "*.xml", {.recurse = true});
    std::string userData = JoinPath(removal::GetAppDataFolder(run.Machine), "Microsoft\\Internet Explorer\\UserData");
    if (!userData.empty()) bytes += removal::CleanFilesByMask(run, userData, "*.xml", {.recurse = true});
    run.SetItemBytes(bytes);
}

}  // namespace nullvane::cleaners
