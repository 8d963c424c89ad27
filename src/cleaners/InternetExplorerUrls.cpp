#include "cleaners/InternetExplorerUrls.h"

#include "base/Texts.h"
#include "removal/FileRemoval.h"

namespace nullvane::cleaners {

namespace {
constexpr int kScrollStep = 50;

void LogDeleting(base::TRunContext& run, const std::string& url) {
    if (run.FastScan()) return;
    run.AddLogLine(run.LogPrefix + base::texts::kDeleting + " " + url);
    removal::ScrollLogIfDue(run, kScrollStep);
}
}  // namespace

void ClearUrlHistoryStore(base::TRunContext& run) {
    platform::UrlHistoryStorePtr store = run.Machine.internet.OpenUrlHistory();
    if (!store) return;
    while (auto url = store->NextUrl()) {
        LogDeleting(run, *url);
        auto answer = run.IsTestRun() ? platform::HistoryDelete::Deleted : store->DeleteUrl(*url);
        if (answer == platform::HistoryDelete::Deleted) ++run.ItemCount;
        run.PostRunProgressIfDue();
        if (answer == platform::HistoryDelete::Refused) break;
    }
}

int32_t ClearUrlCacheEntries(base::TRunContext& run) {
    run.Machine.internet.EndBrowserSession();
    platform::UrlCacheWalkPtr walk = run.Machine.internet.WalkUrlCache();
    if (!walk) return 0;
    int32_t count = 0;
    while (!run.Terminated()) {
        auto url = walk->Next();
        if (!url) break;
        if (!url->starts_with("http://")) continue;
        LogDeleting(run, *url);
        if (run.IsTestRun() || run.Machine.internet.DeleteCacheEntry(*url)) ++count;
        run.PostProgressIfDue(run.TotalItems + count);
    }
    return count;
}

}  // namespace nullvane::cleaners
