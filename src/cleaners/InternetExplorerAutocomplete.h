#pragma once
// "Internet Explorer - Autocomplete History": the browser's form entries in
// Protected Storage and its IntelliForms keys.
#include "base/RunContext.h"

namespace nullvane::cleaners {

void CleanIEAutocompleteHistory(run::TRunContext& run);

}  // namespace nullvane::cleaners
