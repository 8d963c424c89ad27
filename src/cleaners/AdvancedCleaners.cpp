#include "cleaners/Cleaners.h"

#include "removal/RegistryRemoval.h"

namespace nullvane::cleaners {

using removal::DeleteUserRegistryKey;
using removal::DeleteUserRegistryValues;

namespace {
constexpr char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
}

void CleanOpenFileHistory(base::TRunContext& run) {
    run.ItemCount = DeleteUserRegistryKey(run, std::string(kExplorer) + "ComDlg32\\OpenSaveMRU");
}

void CleanMenuOrderCache(base::TRunContext& run) {
    run.ItemCount = DeleteUserRegistryKey(run, std::string(kExplorer) + "MenuOrder");
}

void CleanTrayNotificationsCache(base::TRunContext& run) {
    run.ItemCount += DeleteUserRegistryValues(run, std::string(kExplorer) + "TrayNotify", "IconStreams");
    run.ItemCount += DeleteUserRegistryValues(run, std::string(kExplorer) + "TrayNotify", "PastIconsStream");
}

void CleanUserAssistHistory(base::TRunContext& run) {
    run.ItemCount =
        DeleteUserRegistryKey(run, std::string(kExplorer) + "UserAssist\\{5E6AB780-7743-11CF-A12B-00AA004AE837}\\Count");
    run.ItemCount +=
        DeleteUserRegistryKey(run, std::string(kExplorer) + "UserAssist\\{75048700-EF1F-11D0-9888-006097DEACF9}\\Count");
}

void CleanPaint(base::TRunContext& run) {
    run.ItemCount =
        DeleteUserRegistryKey(run, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List");
}

}  // namespace nullvane::cleaners
