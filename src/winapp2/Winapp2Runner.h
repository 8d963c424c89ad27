#pragma once
// Runs one winapp2.ini entry through the one walk and the registry removal,
// behind the gate: each refusal is logged "winapp2.ini: NAME: refused:
// REASON" and the rest of the entry still runs.
#include "base/RunContext.h"
#include "stores/Winapp2File.h"

namespace nullvane::winapp2 {

void RunWinapp2Entry(base::TRunContext& run, const stores::TWinapp2Entry& entry);

}  // namespace nullvane::winapp2
