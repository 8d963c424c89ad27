#pragma once
// The cleaners' entry points: one per clean item that has a cleaner of its
// own. The run's cleaner table (run/CleanerTable.cpp) names each of them
// beside its item; the other items go to the data-driven runner.
#include "base/RunContext.h"

namespace nullvane::cleaners {

// "Internet Explorer": the cache, history, typed addresses, index files and
// download folder (InternetExplorerCache.cpp), the cookie files but those on
// the keep list with the cookie index, DOM storage and user data
// (InternetExplorerCookies.cpp), and the form entries in Protected Storage
// and the IntelliForms keys (InternetExplorerAutocomplete.cpp).
void CleanRecentlyTypedUrls(run::TRunContext& run);
void CleanIECookies(run::TRunContext& run);
void CleanVisitedUrlHistory(run::TRunContext& run);
void CleanLastDownloadLocation(run::TRunContext& run);
void CleanTemporaryInternetFiles(run::TRunContext& run);
void CleanIndexDatFiles(run::TRunContext& run);
void CleanIEAutocompleteHistory(run::TRunContext& run);

// "Opera": the files of the old Opera folders, and the Chromium profiles of
// today's Opera and Opera GX.
void CleanOperaTypedUrls(run::TRunContext& run);
void CleanOperaCookies(run::TRunContext& run);
void CleanOperaHistory(run::TRunContext& run);
void CleanOperaTemporaryFiles(run::TRunContext& run);
void CleanOperaAutocomplete(run::TRunContext& run);
void CleanOperaTransfers(run::TRunContext& run);

// "Mozilla Firefox", over every profile.
void CleanFirefoxCookies(run::TRunContext& run);
void CleanFirefoxVisitedUrlHistory(run::TRunContext& run);
void CleanFirefoxDownloadManager(run::TRunContext& run);
void CleanFirefoxTemporaryInternetFiles(run::TRunContext& run);
void CleanFirefoxAutocompleteHistory(run::TRunContext& run);
void CleanFirefoxPreferences(run::TRunContext& run);
void CleanFirefoxSavedFormInformation(run::TRunContext& run);
void CleanFirefoxSession(run::TRunContext& run);

// "Google Chrome", over every profile of Chrome's "User Data" folder.
void CleanChromeTemporaryFiles(run::TRunContext& run);
void CleanChromeCookies(run::TRunContext& run);
void CleanChromeHistory(run::TRunContext& run);
void CleanChromeStoredPasswords(run::TRunContext& run);
void CleanChromeDownloadHistory(run::TRunContext& run);
void CleanChromeFormData(run::TRunContext& run);
void CleanChromeSession(run::TRunContext& run);

// "Windows".
void CleanRecentDocuments(run::TRunContext& run);
void CleanStartRun(run::TRunContext& run);
void CleanSearchAssistant(run::TRunContext& run);
void CleanRecycleBin(run::TRunContext& run);
void CleanTemporaryFiles(run::TRunContext& run);
void CleanClipboard(run::TRunContext& run);
void CleanMemoryDumps(run::TRunContext& run);
void CleanChkdskFragments(run::TRunContext& run);

// "Advanced".
void CleanOpenFileHistory(run::TRunContext& run);
void CleanMenuOrderCache(run::TRunContext& run);
void CleanTrayNotificationsCache(run::TRunContext& run);
void CleanUserAssistHistory(run::TRunContext& run);
void CleanPaint(run::TRunContext& run);

// "Microsoft Office": the programs' recently-used lists in the user's
// registry, for every version of a fixed range, and files of their types in
// the Office "Recent" folder.
void CleanOfficeAccess(run::TRunContext& run);
void CleanOfficeExcel(run::TRunContext& run);
void CleanOfficeFrontPage(run::TRunContext& run);
void CleanOfficePowerpoint(run::TRunContext& run);
void CleanOfficeWord(run::TRunContext& run);
void CleanOfficeVisio(run::TRunContext& run);
void CleanOfficeInfoPath(run::TRunContext& run);
void CleanOfficePublisher(run::TRunContext& run);
void CleanOfficeRecentFiles(run::TRunContext& run);

// "Instant Messengers" with cleaners of their own.
void CleanMsnMessenger(run::TRunContext& run);
void CleanYahooMessenger(run::TRunContext& run);
void CleanSkype(run::TRunContext& run);

}  // namespace nullvane::cleaners
