#pragma once
// The browser's Internet session, its URL cache and its URL history store.
#include <memory>
#include <optional>
#include <string>

namespace nullvane::platform {

// A walk over the URL cache's entries, every container at once. Ends at
// the last entry or at the first error the system gives.
class UrlCacheWalk {
public:
    virtual ~UrlCacheWalk() = default;
    // The next entry's source URL (empty when it has none); nothing at the end.
    [[nodiscard]] virtual std::optional<std::string> Next() = 0;
};
using UrlCacheWalkPtr = std::unique_ptr<UrlCacheWalk>;

// What the history store answered to a delete.
enum class HistoryDelete {
    Deleted,   // S_OK
    Refused,   // S_FALSE: the store asks to stop
    Failed,    // any error
};

// The URL history store opened for one walk over its URLs. Lives on the
// thread that opened it (the store is an apartment-bound object).
class UrlHistoryStore {
public:
    virtual ~UrlHistoryStore() = default;
    // The next stored URL; nothing at the end or when the store fails.
    [[nodiscard]] virtual std::optional<std::string> NextUrl() = 0;
    [[nodiscard]] virtual HistoryDelete DeleteUrl(const std::string& url) = 0;
};
using UrlHistoryStorePtr = std::unique_ptr<UrlHistoryStore>;

class Internet {
public:
    virtual ~Internet() = default;

    // Ends the browser's Internet session, so that the shell's folder
    // lookups and the cache see the current state (InternetSetOption, option 42).
    virtual void EndBrowserSession() = 0;

    // Starts a walk over the URL cache; nothing when it cannot start (also
    // when the cache holds no entry).
    [[nodiscard]] virtual UrlCacheWalkPtr WalkUrlCache() = 0;
    // Deletes one cache entry and its file; true if the system did.
    virtual bool DeleteCacheEntry(const std::string& url) = 0;

    // The URL history store with a walk over its URLs; nothing when the
    // history class or its enumerator cannot be made.
    [[nodiscard]] virtual UrlHistoryStorePtr OpenUrlHistory() = 0;
};

}  // namespace nullvane::platform
