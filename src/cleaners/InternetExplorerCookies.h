#pragma once
// "Internet Explorer - Cookies": the cookie files but those on the keep
// list, the cookie index, DOM storage and user data.
#include "base/RunContext.h"

namespace nullvane::cleaners {

void CleanIECookies(run::TRunContext& run);

}  // namespace nullvane::cleaners
