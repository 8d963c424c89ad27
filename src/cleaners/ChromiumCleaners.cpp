#include "cleaners/Cleaners.h"

#include "browsers/ChromiumProfiles.h"
#include "cleaners/ChromiumProfileCleaner.h"
#include "removal/FileRemoval.h"

namespace nullvane::cleaners {

using browsers::TBrowser;
using browsers::TChromiumProfile;

namespace {

// The browser's profiles as each item looks them up afresh; the folders a
// profile list named and that were skipped are logged.
std::vector<TChromiumProfile> LookUpProfiles(base::TRunContext& run, const TBrowser& browser) {
    browsers::TProfileNotes notes;
    std::vector<TChromiumProfile> profiles = browsers::ChromiumProfiles(run.Machine, browser, &notes);
    for (const std::string& note : notes) run.AddLogLine(run.LogPrefix + note);
    return profiles;
}

// Runs one profile operation over every profile, in profile order, and
// reports the bytes it found.
template <typename TOperation>
void ForEachProfile(base::TRunContext& run, const TBrowser& browser, TOperation operation) {
    uint64_t bytes = 0;
    for (const TChromiumProfile& profile : LookUpProfiles(run, browser)) {
        if (run.Terminated()) break;
        bytes += operation(run, profile);
    }
    run.SetItemBytes(bytes);
}

// Database steps count nothing: the item shows 0 items and "0".
template <typename TOperation>
void ForEachProfileUncounted(base::TRunContext& run, const TBrowser& browser, TOperation operation) {
    for (const TChromiumProfile& profile : LookUpProfiles(run, browser)) {
        if (run.Terminated()) break;
        operation(run, profile);
    }
}

}  // namespace

void CleanChromiumTemporaryFiles(base::TRunContext& run, const TBrowser& browser) {
    uint64_t bytes = 0;
    for (const TChromiumProfile& profile : LookUpProfiles(run, browser)) {
        if (run.Terminated()) break;
        bytes += chromium::CleanCaches(run, profile);
    }
    // The shader caches every profile of a channel shares.
    for (const std::string& userData : browsers::ChromiumUserDataFolders(run.Machine, browser))
        for (const char* name : {"ShaderCache", "GrShaderCache", "GraphiteDawnCache"}) {
            if (run.Terminated()) break;
            bytes += removal::CleanFolderNotLinked(run, userData + name);
        }
    run.SetItemBytes(bytes);
}

void CleanChromiumCookies(base::TRunContext& run, const TBrowser& browser) {
    ForEachProfile(run, browser, chromium::CleanCookies);
}
void CleanChromiumHistory(base::TRunContext& run, const TBrowser& browser) {
    ForEachProfile(run, browser, chromium::CleanHistory);
}
void CleanChromiumStoredPasswords(base::TRunContext& run, const TBrowser& browser) {
    ForEachProfile(run, browser, chromium::CleanStoredPasswords);
}
void CleanChromiumDownloadHistory(base::TRunContext& run, const TBrowser& browser) {
    ForEachProfileUncounted(run, browser, chromium::EmptyDownloads);
}
void CleanChromiumFormData(base::TRunContext& run, const TBrowser& browser) {
    ForEachProfileUncounted(run, browser, chromium::EmptyFormData);
}
void CleanChromiumSession(base::TRunContext& run, const TBrowser& browser) {
    ForEachProfile(run, browser, chromium::CleanSession);
}

}  // namespace nullvane::cleaners
