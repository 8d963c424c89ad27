#pragma once
// The one cleaner of a Chromium profile, shared by the Chrome items and the
// Opera items' Chromium part. Each operation adds the files it finds to
// run.ItemCount and returns their bytes; database steps count nothing.
// "Bookmarks", "Preferences", "Secure Preferences" and "Local State" are
// never touched, nor extension data, nor
// "Local Storage\leveldb" (one store for sites and extensions alike).
#include <cstdint>

#include "base/RunContext.h"
#include "browsers/ChromiumProfiles.h"

namespace nullvane::cleaners::chromium {

// "Cache", "Code Cache", "GPUCache" and the service workers' caches of the
// profile and its cache folder.
uint64_t CleanCaches(base::TRunContext& run, const browsers::TChromiumProfile& profile);
// The "Cookies" databases ("Network\Cookies" and the older place), which
// keep their files and the kept sites' cookies while the keep list keeps
// sites, "Extension Cookies", and Local Storage but extension data.
uint64_t CleanCookies(base::TRunContext& run, const browsers::TChromiumProfile& profile);
// The history databases and files, the session files, the omnibox
// shortcuts and the bounce-tracking database ("DIPS").
uint64_t CleanHistory(base::TRunContext& run, const browsers::TChromiumProfile& profile);
// "Current Session", "Last Session" and every file in "Sessions" (the folder stays).
uint64_t CleanSession(base::TRunContext& run, const browsers::TChromiumProfile& profile);
// The saved logins: the old "logins" table of Web Data, then the "Login Data" databases.
uint64_t CleanStoredPasswords(base::TRunContext& run, const browsers::TChromiumProfile& profile);
// What the address bar predicts from typing: "Network Action Predictor" and the omnibox shortcuts.
uint64_t CleanTypedAddresses(base::TRunContext& run, const browsers::TChromiumProfile& profile);
// The "Login Data" databases and the autofill entries (Opera's wand).
uint64_t CleanAutocomplete(base::TRunContext& run, const browsers::TChromiumProfile& profile);
// Empties the download tables of History.
void EmptyDownloads(base::TRunContext& run, const browsers::TChromiumProfile& profile);
// Empties the autofill tables of Web Data; addresses, cards and search engines stay.
void EmptyFormData(base::TRunContext& run, const browsers::TChromiumProfile& profile);

}  // namespace nullvane::cleaners::chromium
