#pragma once
// The browsers Nullvane cleans by profile: one row per browser, its family
// (which cleaner reads its profiles) and the folders its channels keep
// their data in. A new browser of a known family is one row here.
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace nullvane::browsers {

enum TBrowserFamily {
    bfChromium,  // a "User Data" folder holding profiles and "Local State"
    bfGecko,     // a folder holding profiles.ini and a "Profiles" folder
};

// Where a source's folder starts.
enum TDataRoot { drLocalAppData, drAppData };

// One channel's folder: for the Chromium family the folder holding "User
// Data", for the Gecko family the one holding profiles.ini. A Gecko
// profile's caches lie at CachePath below Local AppData (Path when null).
struct TBrowserSource {
    TDataRoot Root = drLocalAppData;
    const char* Path = nullptr;
    const char* CachePath = nullptr;
};

struct TBrowser {
    const char* Name;  // the category's text, and the browser in messages
    TBrowserFamily Family;
    std::array<TBrowserSource, 4> Sources;  // the unused ones have no Path
    // Added to the request to close the browser: why it may run without a window.
    const char* RunningNote = nullptr;
    // The program file its windows belong to, to ask them alone to close.
    const char* Executable = nullptr;
};

// The rows in tree order; Google Chrome and Mozilla Firefox are the first
// of their families and always have a category of their own.
[[nodiscard]] std::span<const TBrowser> BrowserTable();
[[nodiscard]] const TBrowser* FindBrowser(std::string_view name);
[[nodiscard]] const TBrowser& GoogleChrome();
[[nodiscard]] const TBrowser& MozillaFirefox();
// True for the browsers that have a category only where they are found.
[[nodiscard]] bool IsFoundOnlyCategory(const TBrowser& browser);

// A source's folder, without a trailing "\"; empty when its root is unknown.
[[nodiscard]] std::string SourceFolder(platform::Platform& machine, const TBrowserSource& source);
// A Gecko source's cache folder below Local AppData, without a trailing "\"; empty when unknown.
[[nodiscard]] std::string SourceCacheFolder(platform::Platform& machine, const TBrowserSource& source);

// Whether the browser keeps data on this machine: a Chromium source's
// "User Data" or a Gecko source's profiles.ini exists.
[[nodiscard]] bool IsBrowserFound(platform::Platform& machine, const TBrowser& browser);

}  // namespace nullvane::browsers
