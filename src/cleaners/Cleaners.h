#pragma once
// The cleaners' entry points: one per clean item that has a cleaner of its
// own. The run's cleaner table (run/CleanerTable.cpp) names each of them
// beside its item; the other items go to the data-driven runner.
#include "base/RunContext.h"
#include "browsers/BrowserTable.h"

namespace nullvane::cleaners {

// "Internet Explorer": the cache, history, typed addresses, index files and
// download folder (InternetExplorerCache.cpp), the cookie files but those on
// the keep list with the cookie index, DOM storage and user data
// (InternetExplorerCookies.cpp), and the form entries in Protected Storage
// and the IntelliForms keys (InternetExplorerAutocomplete.cpp).
void CleanRecentlyTypedUrls(base::TRunContext& run);
void CleanIECookies(base::TRunContext& run);
void CleanVisitedUrlHistory(base::TRunContext& run);
void CleanLastDownloadLocation(base::TRunContext& run);
void CleanTemporaryInternetFiles(base::TRunContext& run);
void CleanIndexDatFiles(base::TRunContext& run);
void CleanIEAutocompleteHistory(base::TRunContext& run);

// "Opera": the files of the old Opera folders, and the Chromium profiles of
// today's Opera and Opera GX.
void CleanOperaTypedUrls(base::TRunContext& run);
void CleanOperaCookies(base::TRunContext& run);
void CleanOperaHistory(base::TRunContext& run);
void CleanOperaTemporaryFiles(base::TRunContext& run);
void CleanOperaAutocomplete(base::TRunContext& run);
void CleanOperaTransfers(base::TRunContext& run);

// The browsers of the Gecko family (Firefox and its forks), over every
// profile of every source of `browser` (GeckoCleaners.cpp).
void CleanGeckoCookies(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanGeckoVisitedUrlHistory(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanGeckoDownloadManager(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanGeckoTemporaryInternetFiles(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanGeckoAutocompleteHistory(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanGeckoPreferences(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanGeckoSavedFormInformation(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanGeckoSession(base::TRunContext& run, const browsers::TBrowser& browser);

// The browsers of the Chromium family, over every profile of every channel
// of `browser` (ChromiumCleaners.cpp).
void CleanChromiumTemporaryFiles(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanChromiumCookies(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanChromiumHistory(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanChromiumStoredPasswords(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanChromiumDownloadHistory(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanChromiumFormData(base::TRunContext& run, const browsers::TBrowser& browser);
void CleanChromiumSession(base::TRunContext& run, const browsers::TBrowser& browser);

// "Windows".
void CleanRecentDocuments(base::TRunContext& run);
void CleanStartRun(base::TRunContext& run);
void CleanSearchAssistant(base::TRunContext& run);
void CleanRecycleBin(base::TRunContext& run);
void CleanTemporaryFiles(base::TRunContext& run);
void CleanClipboard(base::TRunContext& run);
void CleanMemoryDumps(base::TRunContext& run);
void CleanChkdskFragments(base::TRunContext& run);
// The traces of Windows 10 and 11, after the items above.
void CleanJumpLists(base::TRunContext& run);
void CleanExplorerSearchHistory(base::TRunContext& run);
void CleanExplorerTypedPaths(base::TRunContext& run);
void CleanThumbnailCache(base::TRunContext& run);
void CleanActivityHistory(base::TRunContext& run);
void CleanErrorReports(base::TRunContext& run);
void CleanShellHistories(base::TRunContext& run);
void CleanDnsCache(base::TRunContext& run);

// "Advanced".
void CleanOpenFileHistory(base::TRunContext& run);
void CleanMenuOrderCache(base::TRunContext& run);
void CleanTrayNotificationsCache(base::TRunContext& run);
void CleanUserAssistHistory(base::TRunContext& run);
void CleanPaint(base::TRunContext& run);

// "Microsoft Office": the programs' recently-used lists in the user's
// registry, for every version of a fixed range, and files of their types in
// the Office "Recent" folder.
void CleanOfficeAccess(base::TRunContext& run);
void CleanOfficeExcel(base::TRunContext& run);
void CleanOfficeFrontPage(base::TRunContext& run);
void CleanOfficePowerpoint(base::TRunContext& run);
void CleanOfficeWord(base::TRunContext& run);
void CleanOfficeVisio(base::TRunContext& run);
void CleanOfficeInfoPath(base::TRunContext& run);
void CleanOfficePublisher(base::TRunContext& run);
void CleanOfficeRecentFiles(base::TRunContext& run);

// "Instant Messengers" with cleaners of their own.
void CleanMsnMessenger(base::TRunContext& run);
void CleanYahooMessenger(base::TRunContext& run);
void CleanSkype(base::TRunContext& run);

}  // namespace nullvane::cleaners
