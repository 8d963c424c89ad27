#pragma once
// The clean items of the category "Windows".
#include "base/RunContext.h"

namespace nullvane::cleaners {

void CleanRecentDocuments(run::TRunContext& run);
void CleanStartRun(run::TRunContext& run);
void CleanSearchAssistant(run::TRunContext& run);
void CleanRecycleBin(run::TRunContext& run);
void CleanTemporaryFiles(run::TRunContext& run);
void CleanClipboard(run::TRunContext& run);
void CleanMemoryDumps(run::TRunContext& run);
void CleanChkdskFragments(run::TRunContext& run);

}  // namespace nullvane::cleaners
