#include "cleaners/Cleaners.h"

#include <string>
#include <vector>

#include "base/Texts.h"
#include "browsers/CookieKeepList.h"
#include "browsers/CookieSite.h"
#include "browsers/InternetExplorerFolders.h"
#include "cleaners/InternetExplorerCache.h"
#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"

namespace nullvane::cleaners {

using browsers::GetIELocalFolder;
using browsers::IECookieFolders;
using browsers::JoinPath;
using browsers::ReadCookieSite;
using browsers::TCookieKeepList;

namespace {

// One folder's cookie files but the kept ones; the byte total of those counted.
uint64_t CleanCookieFiles(base::TRunContext& run, const std::string& folder, const TCookieKeepList& keep) {
    platform::FileSystem& files = run.Machine.files;
    return removal::CleanFolderWith(
        run, folder,
        {.recurse = false,
         .removeSubfolders = false,
         .rootQuestion = removal::TFolderQuestion::fqNone,
         .documentsQuestion = removal::TFolderQuestion::fqNone,
         .eachFile = [&](const removal::TWalkFile& file) {
             if (file.entry.name.find(".txt") == std::string::npos) return removal::TFileVerdict::fvKeep;
             if (!keep.Keeps(file.entry.name, ReadCookieSite(files, file.path))) return removal::TFileVerdict::fvTake;
             run.NoteKept(file.path, base::texts::kReasonKeptCookie);
             return removal::TFileVerdict::fvKeep;
         }});
}

}  // namespace

void CleanIECookies(base::TRunContext& run) {
    const std::vector<std::string> folders = IECookieFolders(run.Machine);
    if (folders.empty()) return;
    const TCookieKeepList keep = TCookieKeepList::Read(run.Machine);
    uint64_t bytes = 0;
    for (const std::string& folder : folders) {
        bytes += CleanCookieFiles(run, folder, keep);
        // The index names the kept cookies too: with a keep list it stays.
        if (!run.IsTestRun() && keep.Empty())
            WipeIndexDatLogged(run, folder + "index.dat");
    }
    // An empty lookup skips its step.
    std::string domStore = JoinPath(GetIELocalFolder(run.Machine), "DOMStore");
    if (!domStore.empty()) bytes += removal::CleanFilesByMask(run, domStore, "*.xml", {.recurse = true});
    std::string userData = JoinPath(removal::GetAppDataFolder(run.Machine), "Microsoft\\Internet Explorer\\UserData");
    if (!userData.empty()) bytes += removal::CleanFilesByMask(run, userData, "*.xml", {.recurse = true});
    run.SetItemBytes(bytes);
}

}  // namespace nullvane::cleaners
