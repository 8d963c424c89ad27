#include "cleaners/Cleaners.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "browsers/ChromiumProfiles.h"
#include "cleaners/ChromiumProfileCleaner.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"

namespace nullvane::cleaners {

using browsers::OperaChromiumProfiles;
using browsers::TChromiumProfile;

namespace {

// The folders an Opera item works on, looked up afresh by each item.
struct TOperaFolders {
    std::string Roaming;  // AppData\Opera\ if it exists, else empty
    std::string Local;    // Local AppData\Opera\ if it exists, else empty
    std::vector<TChromiumProfile> Profiles;  // "Opera Stable", "Opera GX Stable"
};

TOperaFolders FindOperaFolders(base::TRunContext& run) {
    TOperaFolders folders;
    std::string appData = removal::GetAppDataFolder(run.Machine);
    if (!appData.empty() && run.Machine.files.DirectoryExists(appData + "Opera\\"))
        folders.Roaming = appData + "Opera\\";
    std::string local = removal::GetLocalAppDataFolder(run.Machine);
    if (!local.empty() && run.Machine.files.DirectoryExists(local + "Opera\\")) folders.Local = local + "Opera\\";
    folders.Profiles = OperaChromiumProfiles(run.Machine, appData);
    return folders;
}

// The old profile folders: direct subfolders of an Opera folder, links skipped.
std::vector<std::string> ProfileFolders(base::TRunContext& run, const std::string& operaFolder) {
    std::vector<std::string> folders;
    if (operaFolder.empty()) return folders;
    for (const std::string& name : removal::Subfolders(run.Machine.files, operaFolder))
        folders.push_back(operaFolder + name + "\\");
    return folders;
}

// The old Opera's files by exact name in its folder and every folder below.
uint64_t CleanOldFiles(base::TRunContext& run, const TOperaFolders& folders, std::initializer_list<const char*> names) {
    uint64_t bytes = 0;
    if (folders.Roaming.empty()) return bytes;
    for (const char* name : names) bytes += removal::CleanFilesByMask(run, folders.Roaming, name, {.recurse = true});
    return bytes;
}

uint64_t EmptyFolder(base::TRunContext& run, const std::string& folder) {
    return removal::CleanFolder(run, folder);
}

template <typename TOperation>
uint64_t ForEachProfile(base::TRunContext& run, const TOperaFolders& folders, TOperation operation) {
    uint64_t bytes = 0;
    for (const TChromiumProfile& profile : folders.Profiles) {
        if (run.Terminated()) break;
        bytes += operation(run, profile);
    }
    return bytes;
}

// The common item: the old Opera's files by name, then a part of each Chromium profile.
template <typename TOperation>
void CleanOldFilesAndProfiles(base::TRunContext& run, std::initializer_list<const char*> names, TOperation operation) {
    TOperaFolders folders = FindOperaFolders(run);
    uint64_t bytes = CleanOldFiles(run, folders, names);
    bytes += ForEachProfile(run, folders, operation);
    run.SetItemBytes(bytes);
}

}  // namespace

void CleanOperaTypedUrls(base::TRunContext& run) {
    CleanOldFilesAndProfiles(run, {"opera.dir", "typed_history.xml"}, chromium::CleanTypedAddresses);
}

void CleanOperaCookies(base::TRunContext& run) {
    CleanOldFilesAndProfiles(run, {"cookies4.dat"}, chromium::CleanCookies);
}

void CleanOperaHistory(base::TRunContext& run) {
    TOperaFolders folders = FindOperaFolders(run);
    uint64_t bytes =
        CleanOldFiles(run, folders, {"global.dat", "vlink4.dat", "autosave.win", "global_history.dat", "typed_history.xml"});
    // The local folder's visual previews belong to the old Opera folder.
    if (!folders.Roaming.empty())
        for (const std::string& profile : ProfileFolders(run, folders.Local)) bytes += EmptyFolder(run, profile + "vps");
    bytes += ForEachProfile(run, folders, chromium::CleanHistory);
    run.SetItemBytes(bytes);
}

void CleanOperaTemporaryFiles(base::TRunContext& run) {
    TOperaFolders folders = FindOperaFolders(run);
    uint64_t bytes = 0;
    if (!folders.Roaming.empty()) {
        for (const std::string& profile : ProfileFolders(run, folders.Roaming))
            bytes += EmptyFolder(run, profile + "profile\\cache4");
        for (const std::string& profile : ProfileFolders(run, folders.Local))
            for (const char* cache : {"profile\\cache4", "cache", "icons\\cache", "temporary_downloads", "opcache"})
                bytes += EmptyFolder(run, profile + cache);
    }
    bytes += ForEachProfile(run, folders, chromium::CleanCaches);
    run.SetItemBytes(bytes);
}

void CleanOperaAutocomplete(base::TRunContext& run) {
    CleanOldFilesAndProfiles(run, {"wand.dat"}, chromium::CleanAutocomplete);
}

void CleanOperaTransfers(base::TRunContext& run) {
    CleanOldFilesAndProfiles(run, {"download.dat"}, [](base::TRunContext& on, const TChromiumProfile& profile) {
        chromium::EmptyDownloads(on, profile);
        return uint64_t{0};
    });
}

}  // namespace nullvane::cleaners
