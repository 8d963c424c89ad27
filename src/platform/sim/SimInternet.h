#pragma once
// A simulated browser session, URL cache and URL history store that tests
// fill, with the deletes they ask for recorded. Thread-safe.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Internet.h"

namespace nullvane::platform::sim {

class SimInternet final : public Internet {
public:
    void EndBrowserSession() override;
    [[nodiscard]] UrlCacheWalkPtr WalkUrlCache() override;
    bool DeleteCacheEntry(const std::string& url) override;
    [[nodiscard]] UrlHistoryStorePtr OpenUrlHistory() override;

    [[nodiscard]] int EndBrowserSessionCount();

    // The cache, in walk order. A refused entry stays when deleted.
    void AddCacheEntry(const std::string& url);
    void RefuseCacheDelete(const std::string& url);
    [[nodiscard]] std::vector<std::string> CacheEntries();
    [[nodiscard]] std::vector<std::string> DeletedCacheEntries();

    // The history store: without the class, OpenUrlHistory gives nothing.
    // A URL answered otherwise than Deleted stays in the store.
    void SetHistoryClassAvailable(bool available);
    void AddHistoryUrl(const std::string& url);
    void SetHistoryDeleteAnswer(const std::string& url, HistoryDelete answer);
    [[nodiscard]] std::vector<std::string> HistoryUrls();
    [[nodiscard]] std::vector<std::string> DeletedHistoryUrls();
    // Stores opened and not yet released.
    [[nodiscard]] int OpenHistoryStores();

private:
    class Walk;
    class Store;

    std::mutex mutex_;
    int endSessionCount_ = 0;
    std::vector<std::string> cache_;
    std::vector<std::string> refusedCache_;
    std::vector<std::string> deletedCache_;
    bool historyClass_ = true;
    std::vector<std::string> history_;
    std::map<std::string, HistoryDelete> historyAnswers_;
    std::vector<std::string> deletedHistory_;
    int openStores_ = 0;
};

}  // namespace nullvane::platform::sim
