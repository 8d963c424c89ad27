#pragma once
// The steps the browser's cache, history, typed addresses, index files and
// download folder items share (the items are in cleaners/Cleaners.h).
#include <string>

#include "base/RunContext.h"
#include "platform/Platform.h"

namespace nullvane::cleaners {

// Wipes one index.dat in place and logs what became of it ("<prefix><path>:
// the records were overwritten", or why it was left); a missing file, or an
// empty path, gives no line.
void WipeIndexDatLogged(base::TRunContext& run, const std::string& path);

// Wipes in place every index.dat below `folder`, but one lying directly in
// it; never enters a link. Stops at the run's terminate request.
void WipeIndexDatTree(base::TRunContext& run, const std::string& folder);

// "MSHist01" + today's year, month and day ("MSHist0120260308"): the name
// the history's folder of today contains.
[[nodiscard]] std::string TodayHistoryFolderName(platform::Platform& machine);

// The short form of an existing path, or empty.
[[nodiscard]] std::string GetShortPath(platform::Platform& machine, const std::string& path);

// Starts a command line with no window and does not wait. A program named
// without a folder is the one in the system folder, never one found in the
// program's or the current folder. False if it did not start.
bool RunCommandLine(platform::Platform& machine, const std::string& commandLine);

}  // namespace nullvane::cleaners
