#include "platform/win32/Win32Internet.h"

#include <windows.h>
#include <objbase.h>
#include <urlhist.h>
#include <wininet.h>

#include <cstdint>
#include <vector>

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

namespace {

// Kept here so that no GUID library is needed.
constexpr CLSID kUrlHistoryClass = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

// An entry buffer aligned for the structure it holds.
class EntryBuffer {
public:
    void Resize(DWORD bytes) { words_.assign((bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t) + 1, 0); }
    [[nodiscard]] INTERNET_CACHE_ENTRY_INFOW* Entry() {
        return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(words_.data());
    }
    [[nodiscard]] std::string SourceUrl() {
        const wchar_t* url = Entry()->lpszSourceUrlName;
        return url ? Narrow(url) : std::string();
    }

private:
    std::vector<uint64_t> words_;
};

// A few tries for an entry that grows between the size query and the read.
constexpr int kSizeTries = 4;

class Win32UrlCacheWalk final : public UrlCacheWalk {
public:
    Win32UrlCacheWalk(HANDLE handle, std::string first) : handle_(handle), first_(std::move(first)) {}
    ~Win32UrlCacheWalk() override { FindCloseUrlCache(handle_); }
    Win32UrlCacheWalk(const Win32UrlCacheWalk&) = delete;
    Win32UrlCacheWalk& operator=(const Win32UrlCacheWalk&) = delete;

    std::optional<std::string> Next() override {
        if (first_) {
            auto url = std::move(first_);
            first_.reset();
            return url;
        }
        if (ended_) return std::nullopt;
        for (int attempt = 0; attempt < kSizeTries; ++attempt) {
            DWORD size = 0;
            if (!FindNextUrlCacheEntryW(handle_, nullptr, &size) && GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
            buffer_.Resize(size);
            if (FindNextUrlCacheEntryW(handle_, buffer_.Entry(), &size)) return buffer_.SourceUrl();
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        }
        // The end, or an error the walk cannot get past.
        ended_ = true;
        return std::nullopt;
    }

private:
    HANDLE handle_;
    std::optional<std::string> first_;
    EntryBuffer buffer_;
    bool ended_ = false;
};

// COM on this thread for as long as the store lives; undone only when it was done.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (object_) object_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

class Win32UrlHistoryStore final : public UrlHistoryStore {
public:
    // Members are released in reverse order: the enumerator, the store, then COM.
    bool Open() {
        if (FAILED(CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kUrlHistoryStg2,
                                    reinterpret_cast<void**>(store_.Out()))) ||
            !store_)
            return false;
        return SUCCEEDED(store_->EnumUrls(urls_.Out())) && urls_;
    }

    std::optional<std::string> NextUrl() override {
        STATURL entry{};
        entry.cbSize = sizeof entry;
        ULONG fetched = 0;
        if (urls_->Next(1, &entry, &fetched) != S_OK) return std::nullopt;
        std::string url = entry.pwcsUrl ? Narrow(entry.pwcsUrl) : std::string();
        CoTaskMemFree(entry.pwcsUrl);
        CoTaskMemFree(entry.pwcsTitle);
        return url;
    }

    HistoryDelete DeleteUrl(const std::string& url) override {
        HRESULT result = store_->DeleteUrl(Widen(url).c_str(), 0);
        if (result == S_OK) return HistoryDelete::Deleted;
        return result == S_FALSE ? HistoryDelete::Refused : HistoryDelete::Failed;
    }

private:
    ComApartment apartment_;
    ComPtr<IUrlHistoryStg2> store_;
    ComPtr<IEnumSTATURL> urls_;
};

}  // namespace

void Win32Internet::EndBrowserSession() { InternetSetOptionW(nullptr, INTERNET_OPTION_END_BROWSER_SESSION, nullptr, 0); }

UrlCacheWalkPtr Win32Internet::WalkUrlCache() {
    EntryBuffer buffer;
    for (int attempt = 0; attempt < kSizeTries; ++attempt) {
        DWORD size = 0;
        HANDLE handle = FindFirstUrlCacheEntryW(nullptr, nullptr, &size);
        if (handle) {  // cannot happen without a buffer; never leak it
            FindCloseUrlCache(handle);
            return nullptr;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return nullptr;
        buffer.Resize(size);
        handle = FindFirstUrlCacheEntryW(nullptr, buffer.Entry(), &size);
        if (handle) return std::make_unique<Win32UrlCacheWalk>(handle, buffer.SourceUrl());
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return nullptr;
    }
    return nullptr;
}

bool Win32Internet::DeleteCacheEntry(const std::string& url) {
    return DeleteUrlCacheEntryW(Widen(url).c_str()) != FALSE;
}

UrlHistoryStorePtr Win32Internet::OpenUrlHistory() {
    auto store = std::make_unique<Win32UrlHistoryStore>();
    if (!store->Open()) return nullptr;
    return store;
}

}  // namespace nullvane::platform::win32
