#pragma once
// The clean items of the category "Advanced" that have a cleaner of their own.
#include "base/RunContext.h"

namespace nullvane::cleaners {

void CleanOpenFileHistory(run::TRunContext& run);
void CleanMenuOrderCache(run::TRunContext& run);
void CleanTrayNotificationsCache(run::TRunContext& run);
void CleanUserAssistHistory(run::TRunContext& run);
void CleanPaint(run::TRunContext& run);

}  // namespace nullvane::cleaners
