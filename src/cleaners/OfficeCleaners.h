#pragma once
// The clean items of the category "Microsoft Office": the programs'
// recently-used lists in the user's registry, for every version of a fixed
// range, and files of their types in the Office "Recent" folder.
#include "base/RunContext.h"

namespace nullvane::cleaners {

void CleanOfficeAccess(run::TRunContext& run);
void CleanOfficeExcel(run::TRunContext& run);
void CleanOfficeFrontPage(run::TRunContext& run);
void CleanOfficePowerpoint(run::TRunContext& run);
void CleanOfficeWord(run::TRunContext& run);
void CleanOfficeVisio(run::TRunContext& run);
void CleanOfficePublisher(run::TRunContext& run);
void CleanOfficeInfoPath(run::TRunContext& run);
void CleanOfficeRecentFiles(run::TRunContext& run);

}  // namespace nullvane::cleaners
