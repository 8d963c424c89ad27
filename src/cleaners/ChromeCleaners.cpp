#include "cleaners/Cleaners.h"

#include "browsers/ChromiumProfiles.h"
#include "cleaners/ChromiumProfileCleaner.h"

namespace nullvane::cleaners {

using browsers::ChromeProfiles;
using browsers::TChromiumProfile;

namespace {

// Runs one profile operation over every Chrome profile, in profile order,
// and reports the bytes it found. Profiles are looked up afresh by each item.
template <typename TOperation>
void ForEachProfile(base::TRunContext& run, TOperation operation) {
    uint64_t bytes = 0;
    for (const TChromiumProfile& profile : ChromeProfiles(run.Machine)) {
        if (run.Terminated()) break;
        bytes += operation(run, profile);
    }
    run.SetItemBytes(bytes);
}

// Database steps count nothing: the item shows 0 items and "0".
template <typename TOperation>
void ForEachProfileUncounted(base::TRunContext& run, TOperation operation) {
    for (const TChromiumProfile& profile : ChromeProfiles(run.Machine)) {
        if (run.Terminated()) break;
        operation(run, profile);
    }
}

}  // namespace

void CleanChromeTemporaryFiles(base::TRunContext& run) { ForEachProfile(run, chromium::CleanCaches); }
void CleanChromeCookies(base::TRunContext& run) { ForEachProfile(run, chromium::CleanCookies); }
void CleanChromeHistory(base::TRunContext& run) { ForEachProfile(run, chromium::CleanHistory); }
void CleanChromeStoredPasswords(base::TRunContext& run) { ForEachProfile(run, chromium::CleanStoredPasswords); }
void CleanChromeDownloadHistory(base::TRunContext& run) { ForEachProfileUncounted(run, chromium::EmptyDownloads); }
void CleanChromeFormData(base::TRunContext& run) { ForEachProfileUncounted(run, chromium::EmptyFormData); }
void CleanChromeSession(base::TRunContext& run) { ForEachProfile(run, chromium::CleanSession); }

}  // namespace nullvane::cleaners
