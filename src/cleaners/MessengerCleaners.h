#pragma once
// The messenger items with cleaners of their own (the other messengers are
// rows of the applications data file).
#include "base/RunContext.h"

namespace nullvane::cleaners {

void CleanMsnMessenger(run::TRunContext& run);
void CleanYahooMessenger(run::TRunContext& run);
void CleanSkype(run::TRunContext& run);

}  // namespace nullvane::cleaners
