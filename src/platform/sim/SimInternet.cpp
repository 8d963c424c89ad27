#include "platform/sim/SimInternet.h"

#include <algorithm>

namespace nullvane::platform::sim {

// Walks a copy taken when it starts, as the system's enumeration goes on
// over entries deleted during it.
class SimInternet::Walk final : public UrlCacheWalk {
public:
    explicit Walk(std::vector<std::string> entries) : entries_(std::move(entries)) {}
    std::optional<std::string> Next() override {
        if (next_ >= entries_.size()) return std::nullopt;
        return entries_[next_++];
    }

private:
    std::vector<std::string> entries_;
    size_t next_ = 0;
};

class SimInternet::Store final : public UrlHistoryStore {
public:
    Store(SimInternet& owner, std::vector<std::string> urls) : owner_(owner), urls_(std::move(urls)) {}
    ~Store() override {
        std::lock_guard lock(owner_.mutex_);
        --owner_.openStores_;
    }
    std::optional<std::string> NextUrl() override {
        if (next_ >= urls_.size()) return std::nullopt;
        return urls_[next_++];
    }
    HistoryDelete DeleteUrl(const std::string& url) override {
        std::lock_guard lock(owner_.mutex_);
        auto answer = owner_.historyAnswers_.find(url);
        if (answer != owner_.historyAnswers_.end() && answer->second != HistoryDelete::Deleted) return answer->second;
        auto& history = owner_.history_;
        auto found = std::find(history.begin(), history.end(), url);
        if (found == history.end()) return HistoryDelete::Failed;
        history.erase(found);
        owner_.deletedHistory_.push_back(url);
        return HistoryDelete::Deleted;
    }

private:
    SimInternet& owner_;
    std::vector<std::string> urls_;
    size_t next_ = 0;
};

void SimInternet::EndBrowserSession() {
    std::lock_guard lock(mutex_);
    ++endSessionCount_;
}

UrlCacheWalkPtr SimInternet::WalkUrlCache() {
    std::lock_guard lock(mutex_);
    if (cache_.empty()) return nullptr;
    return std::make_unique<Walk>(cache_);
}

bool SimInternet::DeleteCacheEntry(const std::string& url) {
    std::lock_guard lock(mutex_);
    if (std::find(refusedCache_.begin(), refusedCache_.end(), url) != refusedCache_.end()) return false;
    auto found = std::find(cache_.begin(), cache_.end(), url);
    if (found == cache_.end()) return false;
    cache_.erase(found);
    deletedCache_.push_back(url);
    return true;
}

UrlHistoryStorePtr SimInternet::OpenUrlHistory() {
    std::lock_guard lock(mutex_);
    if (!historyClass_) return nullptr;
    ++openStores_;
    return std::make_unique<Store>(*this, history_);
}

int SimInternet::EndBrowserSessionCount() {
    std::lock_guard lock(mutex_);
    return endSessionCount_;
}

void SimInternet::AddCacheEntry(const std::string& url) {
    std::lock_guard lock(mutex_);
    cache_.push_back(url);
}

void SimInternet::RefuseCacheDelete(const std::string& url) {
    std::lock_guard lock(mutex_);
    refusedCache_.push_back(url);
}

std::vector<std::string> SimInternet::CacheEntries() {
    std::lock_guard lock(mutex_);
    return cache_;
}

std::vector<std::string> SimInternet::DeletedCacheEntries() {
    std::lock_guard lock(mutex_);
    return deletedCache_;
}

void SimInternet::SetHistoryClassAvailable(bool available) {
    std::lock_guard lock(mutex_);
    historyClass_ = available;
}

void SimInternet::AddHistoryUrl(const std::string& url) {
    std::lock_guard lock(mutex_);
    history_.push_back(url);
}

void SimInternet::SetHistoryDeleteAnswer(const std::string& url, HistoryDelete answer) {
    std::lock_guard lock(mutex_);
    historyAnswers_[url] = answer;
}

std::vector<std::string> SimInternet::HistoryUrls() {
    std::lock_guard lock(mutex_);
    return history_;
}

std::vector<std::string> SimInternet::DeletedHistoryUrls() {
    std::lock_guard lock(mutex_);
    return deletedHistory_;
}

int SimInternet::OpenHistoryStores() {
    std::lock_guard lock(mutex_);
    return openStores_;
}

}  // namespace nullvane::platform::sim
