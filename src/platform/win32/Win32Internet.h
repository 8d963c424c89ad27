#pragma once
// The browser session, URL cache (WinINet) and URL history store (ole32).
#include "platform/Internet.h"

namespace nullvane::platform::win32 {

class Win32Internet final : public Internet {
public:
    void EndBrowserSession() override;
    [[nodiscard]] UrlCacheWalkPtr WalkUrlCache() override;
    bool DeleteCacheEntry(const std::string& url) override;
    [[nodiscard]] UrlHistoryStorePtr OpenUrlHistory() override;
};

}  // namespace nullvane::platform::win32
