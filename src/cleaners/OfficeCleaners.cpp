#include "cleaners/Cleaners.h"

#include <initializer_list>
#include <string>

#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/RegistryRemoval.h"

namespace nullvane::cleaners {

using removal::DeleteUserRegistryKey;
using removal::DeleteUserRegistryValues;

namespace {

std::string VersionKey(int version, const std::string& program) {
    return "Software\\Microsoft\\Office\\" + std::to_string(version) + ".0\\" + program + "\\";
}

// Every version of the range is tried: none is detected, a missing key counts 0.
void DeleteVersionKeys(base::TRunContext& run, int first, int last, const std::string& program,
                       std::initializer_list<const char*> names) {
    for (int version = first; version <= last; ++version) {
        for (const char* name : names) run.ItemCount += DeleteUserRegistryKey(run, VersionKey(version, program) + name);
    }
}

// The Recent folder's files of the item's types, then the item's registry
// part; nothing at all when the application data folder is missing.
template <typename RegistryPart>
void CleanWithRecentFiles(base::TRunContext& run, std::initializer_list<const char*> masks, RegistryPart registryPart) {
    const std::string appData = removal::GetAppDataFolder(run.Machine);
    if (appData.empty() || !run.Machine.files.DirectoryExists(appData)) return;
    const std::string recent = appData + "Microsoft\\Office\\Recent";
    uint64_t bytes = 0;
    for (const char* mask : masks) bytes += removal::CleanFilesByMask(run, recent, mask);
    run.SetItemBytes(bytes);
    registryPart();
}

}  // namespace

void CleanOfficeAccess(base::TRunContext& run) {
    CleanWithRecentFiles(run, {"*.mdb"}, [&] {
        DeleteVersionKeys(run, 8, 11, "Access", {"Settings"});
        DeleteVersionKeys(run, 12, 15, "Access", {"File MRU", "Recent Templates"});
    });
}

void CleanOfficeExcel(base::TRunContext& run) {
    CleanWithRecentFiles(run, {"*.xls"}, [&] {
        DeleteVersionKeys(run, 8, 15, "Excel", {"Recent Files", "File MRU", "Recent Templates", "Place MRU"});
    });
}

void CleanOfficeFrontPage(base::TRunContext& run) {
    CleanWithRecentFiles(run, {"*.htm", "*.html"}, [&] {
        const std::string explorer = "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\";
        for (const char* list : {"Recent File List", "Recent Page List", "Recent Web List"}) {
            run.ItemCount += DeleteUserRegistryKey(run, explorer + list);
        }
    });
}

void CleanOfficePowerpoint(base::TRunContext& run) {
    CleanWithRecentFiles(run, {"*.ppt"}, [&] {
        DeleteVersionKeys(run, 8, 15, "PowerPoint",
                          {"Recent File List", "Recent Folder List", "File MRU", "Recent Templates", "Place MRU",
                           "RecentFolderList"});
    });
}

void CleanOfficeWord(base::TRunContext& run) {
    CleanWithRecentFiles(run, {"*.doc"}, [&] {
        for (int version = 8; version <= 15; ++version) {
            const std::string word = VersionKey(version, "Word");
            run.ItemCount += DeleteUserRegistryValues(run, word + "Data", "Settings");
            for (const char* list : {"File MRU", "Recent Templates", "Place MRU"}) {
                run.ItemCount += DeleteUserRegistryKey(run, word + "Data\\" + list);
            }
            // Word 2007 and later keep these lists beside Data, as Excel does.
            for (const char* list : {"File MRU", "Recent Templates", "Place MRU"}) {
                run.ItemCount += DeleteUserRegistryKey(run, word + list);
            }
        }
    });
}

void CleanOfficeVisio(base::TRunContext& run) {
    CleanWithRecentFiles(run, {"*.vsd"}, [&] {
        for (char digit = '1'; digit <= '9'; ++digit) {
            run.ItemCount += DeleteUserRegistryValues(run, VersionKey(11, "Visio") + "Application",
                                                      std::string("LastFile") + digit);
        }
        DeleteVersionKeys(run, 11, 15, "Visio", {"File MRU", "Recent Templates"});
    });
}

void CleanOfficePublisher(base::TRunContext& run) {
    DeleteVersionKeys(run, 11, 15, "Publisher", {"Recent File List", "File MRU", "Recent Templates"});
}

void CleanOfficeInfoPath(base::TRunContext& run) {
    DeleteVersionKeys(run, 12, 15, "InfoPath", {"File MRU", "Designer File MRU", "Filler File MRU", "Recent Templates"});
}

void CleanOfficeRecentFiles(base::TRunContext& run) { CleanWithRecentFiles(run, {"*.*"}, [] {}); }

}  // namespace nullvane::cleaners
