#pragma once
// The clean items of the category "Google Chrome", over every profile of
// Chrome's "User Data" folder.
#include "base/RunContext.h"

namespace nullvane::cleaners {

void CleanChromeTemporaryFiles(run::TRunContext& run);
void CleanChromeCookies(run::TRunContext& run);
void CleanChromeHistory(run::TRunContext& run);
void CleanChromeStoredPasswords(run::TRunContext& run);
void CleanChromeDownloadHistory(run::TRunContext& run);
void CleanChromeFormData(run::TRunContext& run);
void CleanChromeSession(run::TRunContext& run);

}  // namespace nullvane::cleaners
