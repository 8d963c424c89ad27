#pragma once
// The browser's URL history store and URL cache entries, walked for the run.
#include <cstdint>

#include "base/RunContext.h"

namespace nullvane::cleaners {

// Lists every URL of the history store and, in a Clean, deletes it; adds
// to ItemCount each URL a Test finds or a Clean deleted. Stops when the
// store asks to stop; a store that cannot be opened gives nothing.
void ClearUrlHistoryStore(base::TRunContext& run);

// The URL cache entries whose address begins with "http://" (secure pages,
// cookies and visited-page records stay): listed and, in a Clean, deleted
// with their files. Gives how many a Test found or a Clean deleted.
[[nodiscard]] int32_t ClearUrlCacheEntries(base::TRunContext& run);

}  // namespace nullvane::cleaners
