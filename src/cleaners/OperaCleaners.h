#pragma once
// The clean items of the category "Opera": the files of the old Opera
// folders, and the Chromium profiles of today's Opera and Opera GX.
#include "base/RunContext.h"

namespace nullvane::cleaners {

void CleanOperaTypedUrls(run::TRunContext& run);
void CleanOperaCookies(run::TRunContext& run);
void CleanOperaHistory(run::TRunContext& run);
void CleanOperaTemporaryFiles(run::TRunContext& run);
void CleanOperaAutocomplete(run::TRunContext& run);
void CleanOperaTransfers(run::TRunContext& run);

}  // namespace nullvane::cleaners
