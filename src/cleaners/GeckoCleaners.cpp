#include "cleaners/Cleaners.h"

#include <string>

#include "base/Texts.h"
#include "browsers/BrowserCookies.h"
#include "browsers/BrowserDatabase.h"
#include "browsers/CookieKeepList.h"
#include "browsers/GeckoProfiles.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"

namespace nullvane::cleaners {

using browsers::CleanDatabase;
using browsers::TBrowser;
using browsers::TDatabaseStatement;
using browsers::TGeckoProfile;

namespace {

using Statements = std::vector<TDatabaseStatement>;


using TGeckoFolders = browsers::TGeckoProfiles;

// The profiles as each item looks them up afresh; the folders profiles.ini
// named and that were skipped are logged.
TGeckoFolders LookUpFolders(base::TRunContext& run, const TBrowser& browser) {
    browsers::TProfileNotes notes;
    TGeckoFolders folders = browsers::FindGeckoProfiles(run.Machine, browser, &notes);
    for (const std::string& note : notes) run.AddLogLine(run.LogPrefix + note);
    return folders;
}

bool IsDatabaseName(const std::string& name) {
    constexpr std::string_view kSuffix = ".sqlite";
    return name.size() > kSuffix.size() && name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

// One file name or mask of an item: each whole Profiles folder recursively,
// then each profile kept elsewhere at its top level. A database goes with
// its companions and is left while another program holds it.
// A rule for each file met may deal with it instead.
uint64_t CleanProfileFiles(base::TRunContext& run, const TGeckoFolders& folders, const std::string& name,
                           const removal::TFileRule& eachFile = {}) {
    auto clean = [&](const std::string& folder, bool recurse) {
        const removal::TWalkRules rules{.recurse = recurse, .eachFile = eachFile};
        return IsDatabaseName(name) ? removal::CleanDatabaseFiles(run, folder, name, rules)
                                    : removal::CleanFilesByMask(run, folder, name, rules);
    };
    uint64_t bytes = 0;
    for (const std::string& profilesFolder : folders.ProfilesFolders) bytes += clean(profilesFolder, true);
    for (const TGeckoProfile& profile : folders.Profiles)
        if (!profile.Folder.empty() && !profile.InProfilesFolder) bytes += clean(profile.Folder, false);
    return bytes;
}

uint64_t CleanProfileFiles(base::TRunContext& run, const TGeckoFolders& folders,
                           std::initializer_list<const char*> names) {
    uint64_t bytes = 0;
    for (const char* name : names) bytes += CleanProfileFiles(run, folders, name);
    return bytes;
}

// The database step on places.sqlite of every profile.
void CleanPlaces(base::TRunContext& run, const TGeckoFolders& folders, const Statements& statements) {
    for (const TGeckoProfile& profile : folders.Profiles)
        if (!profile.Folder.empty()) (void)CleanDatabase(run, profile.Folder + "\\places.sqlite", statements);
}

// A place stays while a bookmark (tags are bookmarks too) or a keyword names
// it. Without moz_keywords its clause drops out; without moz_bookmarks no
// statement that deletes places runs.
void AddKeepingMarkedPlaces(Statements& statements, const std::string& deleteWhere, const std::vector<std::string>& tables,
                            const std::vector<std::pair<std::string, std::string>>& columns = {}) {
    const std::string bookmarked = "id IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)";
    const std::string keyworded = "id IN (SELECT place_id FROM moz_keywords WHERE place_id IS NOT NULL)";
    std::vector<std::string> withKeywords = tables;
    withKeywords.insert(withKeywords.end(), {"moz_places", "moz_bookmarks", "moz_keywords"});
    std::vector<std::string> withoutKeywords = tables;
    withoutKeywords.insert(withoutKeywords.end(), {"moz_places", "moz_bookmarks"});
    statements.push_back({deleteWhere + "NOT (" + bookmarked + " OR " + keyworded + ")", withKeywords, columns, {}});
    statements.push_back({deleteWhere + "NOT (" + bookmarked + ")", withoutKeywords, columns, {"moz_keywords"}});
}

// Rows that named places which are gone.
void AddSweep(Statements& statements) {
    for (const char* table : {"moz_annos", "moz_inputhistory", "moz_places_metadata"})
        statements.push_back({std::string("DELETE FROM ") + table + " WHERE place_id NOT IN (SELECT id FROM moz_places)",
                              {table, "moz_places"}, {{table, "place_id"}}, {}});
    statements.push_back({"DELETE FROM moz_origins WHERE id NOT IN "
                          "(SELECT origin_id FROM moz_places WHERE origin_id IS NOT NULL)",
                          {"moz_origins", "moz_places"}, {{"moz_places", "origin_id"}}, {}});
}

Statements MakeHistoryStatements() {
    Statements statements;
    statements.push_back({"DELETE FROM moz_historyvisits", {"moz_historyvisits"}, {}, {}});
    AddKeepingMarkedPlaces(statements, "DELETE FROM moz_places WHERE ", {});
    statements.push_back({"UPDATE moz_places SET visit_count = 0, typed = 0, last_visit_date = NULL",
                          {"moz_places"},
                          {{"moz_places", "visit_count"}, {"moz_places", "typed"}, {"moz_places", "last_visit_date"}},
                          {}});
    for (const char* table : {"moz_inputhistory", "moz_places_metadata", "moz_places_metadata_search_queries"})
        statements.push_back({std::string("DELETE FROM ") + table, {table}, {}, {}});
    AddSweep(statements);
    return statements;
}

Statements MakeDownloadStatements() {
    // A download is a visit of type 7; its place goes when nothing else
    // visited it and nothing marks it.
    Statements statements;
    AddKeepingMarkedPlaces(statements,
                           "DELETE FROM moz_places WHERE id IN (SELECT place_id FROM moz_historyvisits "
                           "WHERE visit_type = 7) AND id NOT IN (SELECT place_id FROM moz_historyvisits "
                           "WHERE visit_type <> 7 AND place_id IS NOT NULL) AND ",
                           {"moz_historyvisits"}, {{"moz_historyvisits", "visit_type"}, {"moz_historyvisits", "place_id"}});
    statements.push_back({"DELETE FROM moz_historyvisits WHERE visit_type = 7",
                          {"moz_historyvisits"},
                          {{"moz_historyvisits", "visit_type"}},
                          {}});
    statements.push_back({"DELETE FROM moz_annos WHERE anno_attribute_id IN "
                          "(SELECT id FROM moz_anno_attributes WHERE name LIKE 'downloads/%')",
                          {"moz_annos", "moz_anno_attributes"},
                          {},
                          {}});
    AddSweep(statements);
    return statements;
}

}  // namespace

const std::vector<TDatabaseStatement>& FirefoxHistoryStatements() {
    static const Statements statements = MakeHistoryStatements();
    return statements;
}

const std::vector<TDatabaseStatement>& FirefoxDownloadStatements() {
    static const Statements statements = MakeDownloadStatements();
    return statements;
}

void CleanGeckoCookies(base::TRunContext& run, const TBrowser& browser) {
    TGeckoFolders folders = LookUpFolders(run, browser);
    uint64_t bytes = CleanProfileFiles(run, folders, "cookies*.txt");
    // While the keep list keeps sites, cookies.sqlite stays and loses the
    // cookies no site keeps; else it goes whole.
    const std::vector<std::string> sites = browsers::KeptCookieSites(browsers::TCookieKeepList::Read(run.Machine));
    if (sites.empty())
        bytes += CleanProfileFiles(run, folders, "cookies.sqlite");
    else
        bytes += CleanProfileFiles(run, folders, "cookies.sqlite", [&](const removal::TWalkFile& file) {
            browsers::KeepOnlyKeptCookies(run, file.path, browsers::kGeckoCookieTable, sites);
            return removal::TFileVerdict::fvHandled;
        });
    run.SetItemBytes(bytes);
}

void CleanGeckoVisitedUrlHistory(base::TRunContext& run, const TBrowser& browser) {
    TGeckoFolders folders = LookUpFolders(run, browser);
    uint64_t bytes = CleanProfileFiles(run, folders, {"history.dat"});
    CleanPlaces(run, folders, FirefoxHistoryStatements());
    run.SetItemBytes(bytes);
}

void CleanGeckoDownloadManager(base::TRunContext& run, const TBrowser& browser) {
    TGeckoFolders folders = LookUpFolders(run, browser);
    uint64_t bytes = CleanProfileFiles(run, folders, {"downloads.rdf", "downloads.sqlite", "downloads.json"});
    CleanPlaces(run, folders, FirefoxDownloadStatements());
    run.SetItemBytes(bytes);
}

void CleanGeckoTemporaryInternetFiles(base::TRunContext& run, const TBrowser& browser) {
    const bool logIt = run.Options.ShowLogTempInternetFiles;
    if (!run.IsTestRun() && !logIt)
        run.AddLogLine(std::string(base::texts::kClearing) + ", " + base::texts::kPleaseWait);
    TGeckoFolders folders = LookUpFolders(run, browser);
    uint64_t bytes = 0;
    auto cleanCaches = [&](const std::string& profile) {
        for (const char* cache : {"Cache", "cache2", "thumbnails"}) {
            if (run.Terminated()) return;
            bytes += removal::CleanFolderNotLinked(run, profile + "\\" + cache, {.logIt = logIt});
        }
    };
    for (const TGeckoProfile& profile : folders.Profiles) {
        if (!profile.Folder.empty()) cleanCaches(profile.Folder);
        if (!profile.LocalFolder.empty()) cleanCaches(profile.LocalFolder);
    }
    run.SetItemBytes(bytes);
}

void CleanGeckoAutocompleteHistory(base::TRunContext& run, const TBrowser& browser) {
    // Never key4.db or cert9.db: they hold the certificate keys and the
    // primary password, without which the stored logins cannot be read.
    TGeckoFolders folders = LookUpFolders(run, browser);
    run.SetItemBytes(CleanProfileFiles(run, folders,
                                        {"signons.txt", "signons3.txt", "signons.sqlite", "logins.json",
                                         "logins-backup.json"}));
}

void CleanGeckoPreferences(base::TRunContext& run, const TBrowser& browser) {
    TGeckoFolders folders = LookUpFolders(run, browser);
    run.SetItemBytes(CleanProfileFiles(run, folders, {"prefs.js", "content-prefs.sqlite", "permissions.sqlite"}));
}

void CleanGeckoSavedFormInformation(base::TRunContext& run, const TBrowser& browser) {
    TGeckoFolders folders = LookUpFolders(run, browser);
    run.SetItemBytes(CleanProfileFiles(run, folders, {"formhistory.dat", "formhistory.sqlite"}));
}

void CleanGeckoSession(base::TRunContext& run, const TBrowser& browser) {
    TGeckoFolders folders = LookUpFolders(run, browser);
    uint64_t bytes = CleanProfileFiles(run, folders, {"sessionstore.js", "sessionstore.bak", "sessionstore.jsonlz4"});
    // The backups folder stays for Firefox to write into again.
    for (const TGeckoProfile& profile : folders.Profiles)
        if (!profile.Folder.empty())
            bytes += removal::CleanFolderNotLinked(run, profile.Folder + "\\sessionstore-backups");
    run.SetItemBytes(bytes);
}

}  // namespace nullvane::cleaners
