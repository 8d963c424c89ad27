#include "cleaners/ChromiumProfileCleaner.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "browsers/BrowserCookies.h"
#include "browsers/BrowserDatabase.h"
#include "browsers/CookieKeepList.h"
#include "platform/Text.h"
#include "removal/FileRemoval.h"

namespace nullvane::cleaners::chromium {

using browsers::CleanDatabase;
using browsers::TChromiumProfile;
using browsers::TDatabaseStatement;

namespace {

// A statement that empties one table, run only when the table exists.
TDatabaseStatement Empty(const std::string& table) { return {"DELETE FROM " + table, {table}, {}}; }

std::vector<TDatabaseStatement> EmptyAll(std::initializer_list<const char*> tables) {
    std::vector<TDatabaseStatement> statements;
    for (const char* table : tables) statements.push_back(Empty(table));
    return statements;
}

// The companions a database may have beside it; never taken for databases of their own.
bool IsCompanionName(const std::string& name) {
    std::string upper = platform::UpperAscii(name);
    for (std::string_view suffix : {"-JOURNAL", "-WAL", "-SHM"})
        if (upper.size() > suffix.size() && upper.compare(upper.size() - suffix.size(), suffix.size(), suffix) == 0)
            return true;
    return false;
}

uint64_t DeleteDatabases(base::TRunContext& run, const TChromiumProfile& profile, const std::string& name) {
    return removal::CleanDatabaseFiles(run, profile.Folder, name, {.recurse = true});
}

uint64_t DeleteFiles(base::TRunContext& run, const TChromiumProfile& profile, const std::string& name) {
    return removal::CleanFilesByMask(run, profile.Folder, name, {.recurse = true});
}

// Every file of a folder of the profile; the folder stays. A folder that is
// a link is never walked: what it points to is no part of the profile.
uint64_t EmptyFolder(base::TRunContext& run, const std::string& folder) {
    return removal::CleanFolderNotLinked(run, folder);
}

// The old history indexes ("History Index 2011-05"): names taken from the
// profile folder itself, each then found in every folder below it too.
std::vector<std::string> HistoryIndexNames(base::TRunContext& run, const TChromiumProfile& profile) {
    std::vector<std::string> names;
    for (const platform::FileEntry& entry : removal::FilesIn(run.Machine.files, profile.Folder))
        if (platform::UpperAscii(entry.name).find("HISTORY INDEX") != std::string::npos && !IsCompanionName(entry.name))
            names.push_back(entry.name);
    return names;
}

void EmptyShortcuts(base::TRunContext& run, const TChromiumProfile& profile) {
    (void)CleanDatabase(run, profile.Folder + "Shortcuts", EmptyAll({"omni_box_shortcuts"}));
}

// The "Cookies" databases: "Network\Cookies" today, "Cookies" in older
// profiles, both found below the profile. While the keep list keeps sites,
// each stays and loses the cookies no site keeps; else it goes whole.
uint64_t CleanCookieDatabases(base::TRunContext& run, const TChromiumProfile& profile) {
    const std::vector<std::string> sites = browsers::KeptCookieSites(browsers::TCookieKeepList::Read(run.Machine));
    if (sites.empty()) return DeleteDatabases(run, profile, "Cookies");
    return removal::CleanDatabaseFiles(run, profile.Folder, "Cookies",
                                       {.recurse = true, .eachFile = [&](const removal::TWalkFile& file) {
                                            browsers::KeepOnlyKeptCookies(run, file.path,
                                                                          browsers::kChromiumCookieTable, sites);
                                            return removal::TFileVerdict::fvHandled;
                                        }});
}

}  // namespace

uint64_t CleanCaches(base::TRunContext& run, const TChromiumProfile& profile) {
    uint64_t bytes = 0;
    for (const std::string& folder : {profile.Folder, profile.CacheFolder}) {
        if (folder.empty()) continue;
        for (const char* name : {"Cache", "Code Cache", "GPUCache", "Service Worker\\CacheStorage",
                                 "Service Worker\\ScriptCache"})
            bytes += EmptyFolder(run, folder + name);
    }
    return bytes;
}

uint64_t CleanCookies(base::TRunContext& run, const TChromiumProfile& profile) {
    // Extension cookies belong to no site the user could keep.
    uint64_t bytes = CleanCookieDatabases(run, profile) + DeleteDatabases(run, profile, "Extension Cookies");
    bytes += removal::CleanFolderWith(run, profile.Folder + "Local Storage",
                                      {.keepTopFolders = {"leveldb"}, .keepContaining = "CHROME-EXTENSION_"});
    return bytes;
}

uint64_t CleanHistory(base::TRunContext& run, const TChromiumProfile& profile) {
    struct TEntry {
        const char* Name;
        bool Database;
    };
    // "Favicons" holds what "Thumbnails" held in older profiles.
    static const TEntry kEntries[] = {
        {"Current Session", false}, {"History", true},          {"Archived History", true},
        {"Thumbnails", true},       {"Favicons", true},         {"Visited Links", false},
        {"Current Tabs", false},    {"Last Tabs", false},       {"Top Sites", true},
        {"History Provider Cache", false}, {"Network Action Predictor", true},
        {"Shortcuts", true},        {"DIPS", true},
    };
    uint64_t bytes = 0;
    for (const TEntry& entry : kEntries)
        bytes += entry.Database ? DeleteDatabases(run, profile, entry.Name) : DeleteFiles(run, profile, entry.Name);
    for (const std::string& name : HistoryIndexNames(run, profile)) bytes += DeleteDatabases(run, profile, name);
    bytes += EmptyFolder(run, profile.Folder + "Sessions");
    return bytes;
}

uint64_t CleanSession(base::TRunContext& run, const TChromiumProfile& profile) {
    uint64_t bytes = DeleteFiles(run, profile, "Current Session");
    bytes += DeleteFiles(run, profile, "Last Session");
    bytes += EmptyFolder(run, profile.Folder + "Sessions");
    return bytes;
}

uint64_t CleanStoredPasswords(base::TRunContext& run, const TChromiumProfile& profile) {
    (void)CleanDatabase(run, profile.Folder + "Web Data", EmptyAll({"logins"}));
    return DeleteDatabases(run, profile, "Login Data") + DeleteDatabases(run, profile, "Login Data For Account");
}

uint64_t CleanTypedAddresses(base::TRunContext& run, const TChromiumProfile& profile) {
    uint64_t bytes = DeleteDatabases(run, profile, "Network Action Predictor");
    EmptyShortcuts(run, profile);
    return bytes;
}

uint64_t CleanAutocomplete(base::TRunContext& run, const TChromiumProfile& profile) {
    uint64_t bytes = DeleteDatabases(run, profile, "Login Data") + DeleteDatabases(run, profile, "Login Data For Account");
    (void)CleanDatabase(run, profile.Folder + "Web Data", EmptyAll({"autofill"}));
    return bytes;
}

void EmptyDownloads(base::TRunContext& run, const TChromiumProfile& profile) {
    (void)CleanDatabase(run, profile.Folder + "History",
                        EmptyAll({"downloads", "downloads_url_chains", "downloads_slices"}));
}

void EmptyFormData(base::TRunContext& run, const TChromiumProfile& profile) {
    (void)CleanDatabase(run, profile.Folder + "Web Data",
                        EmptyAll({"autofill", "autofill_dates", "autofill_profile_emails", "autofill_profile_names",
                                  "autofill_profile_phones", "autofill_profiles", "autofill_profiles_trash"}));
}

}  // namespace nullvane::cleaners::chromium
