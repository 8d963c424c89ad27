#pragma once
// The clean items of the category "Mozilla Firefox".
#include <vector>

#include "base/RunContext.h"
#include "cleaners/BrowserDatabase.h"

namespace nullvane::cleaners {

void CleanFirefoxCookies(run::TRunContext& run);
void CleanFirefoxVisitedUrlHistory(run::TRunContext& run);
void CleanFirefoxDownloadManager(run::TRunContext& run);
void CleanFirefoxTemporaryInternetFiles(run::TRunContext& run);
void CleanFirefoxAutocompleteHistory(run::TRunContext& run);
void CleanFirefoxPreferences(run::TRunContext& run);
void CleanFirefoxSavedFormInformation(run::TRunContext& run);
void CleanFirefoxSession(run::TRunContext& run);

// What the history and download items do to places.sqlite; every place a
// bookmark, tag or keyword names stays.
[[nodiscard]] const std::vector<TDatabaseStatement>& FirefoxHistoryStatements();
[[nodiscard]] const std::vector<TDatabaseStatement>& FirefoxDownloadStatements();

}  // namespace nullvane::cleaners
