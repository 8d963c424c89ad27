#pragma once
// Lists the URLs that an index.dat records, each with its time stamp.
#include <algorithm>
#include <concepts>
#include <memory>
#include <type_traits>
#include <cstdint>
#include <iterator>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "indexdat/ByteFile.h"
#include "indexdat/IndexDatTime.h"
#include "indexdat/TextList.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"

namespace nullvane::indexdat {

// The caller's progress bar and message loop while a file is read.
class TIndexDatProgress {
public:
    virtual ~TIndexDatProgress() = default;
    [[nodiscard]] virtual int Position() const = 0;
    virtual void SetPosition(int percent) = 0;
    // Lets the window handle one pending message, if there is one.
    virtual void ProcessOneMessage() {}
};

// Called for each listed record, in listing order. The text is valid only
// during the call.
// A reference to the caller's function, made where the walk is called and
// valid for that call. It hands the text over as a pointer and a length, which
// travel in registers: a listing calls it hundreds of thousands of times.
class TIndexDatUrlVisitor {
public:
    template <class TFunction>
        requires(!std::same_as<std::remove_cvref_t<TFunction>, TIndexDatUrlVisitor> &&
                 std::invocable<TFunction&, std::string_view, uint64_t>)
    TIndexDatUrlVisitor(TFunction&& function)  // NOLINT: made from any function, as std::function is
        : function_(static_cast<const void*>(std::addressof(function))),
          call_([](const void* f, const char* url, size_t length, uint64_t timeStamp) {
              (*static_cast<std::remove_reference_t<TFunction>*>(const_cast<void*>(f)))(std::string_view(url, length),
                                                                                        timeStamp);
          }) {}

    void operator()(std::string_view url, uint64_t timeStamp) const { call_(function_, url.data(), url.size(), timeStamp); }

private:
    const void* function_;
    void (*call_)(const void*, const char*, size_t, uint64_t);
};
// Told once, before the first record, how many records at most will be
// listed, so that the caller can make room at once. Not told for a file with
// more hash entries than the walk keeps (millions).
using TIndexDatListingSize = std::function<void(size_t count)>;

// Walks the hash tables of the file and reports every "URL ", "LEAK" and
// "REDR" record that carries a URL. Progress, when given, moves forward only
// and ends at 100. Tables are walked once each, even when the chain of tables
// loops back; a table stops at the end of the file.
void WalkIndexDatUrls(TByteFile& file, const TIndexDatUrlVisitor& visit, TIndexDatProgress* progress = nullptr,
                      const TIndexDatListingSize& listingSize = {});

// The same listing, reading each record when its entry is met. It holds no
// more than one text at a time, so it is what a damaged file whose records
// overlap is listed with; it also serves as the reference for the walk above.
void WalkIndexDatUrlsInHashOrder(TByteFile& file, const TIndexDatUrlVisitor& visit,
                                 TIndexDatProgress* progress = nullptr);

// An entry of the caller's URL list: the text and its associated number.
struct TIndexDatUrl {
    std::string_view Url;
    int ImageIndex = 0;
};

// The URL list: each URL with its number, kept compactly. The numbers are
// kept as runs: a read gives every URL of a file the same one.
class TIndexDatUrlList {
public:
    [[nodiscard]] size_t size() const { return urls_.size(); }
    [[nodiscard]] bool empty() const { return urls_.empty(); }
    // Valid until the list next changes.
    [[nodiscard]] TIndexDatUrl operator[](size_t i) const {
        const auto run = std::upper_bound(runs_.begin(), runs_.end(), i,
                                          [](size_t index, const TImageRun& r) { return index < r.First; });
        return {urls_[i], std::prev(run)->ImageIndex};
    }
    void push_back(const TIndexDatUrl& url) {
        if (runs_.empty() || runs_.back().ImageIndex != url.ImageIndex) runs_.push_back({urls_.size(), url.ImageIndex});
        urls_.push_back(url.Url);
    }
    void clear() {
        urls_.clear();
        runs_.clear();
    }
    void reserve(size_t more, size_t moreTextBytes) { urls_.reserve(more, moreTextBytes); }

private:
    struct TImageRun {
        size_t First;  // the first URL of the run
        int ImageIndex;
    };
    TTextList urls_;
    std::vector<TImageRun> runs_;
};

// The caller's two parallel lists; the reader only appends to them.
struct TIndexDatLists {
    TIndexDatUrlList UrlList;
    TTextList TimeList;
};

// How a time stamp becomes the text of the time list: "Not Available" or the
// local date-time in the caller's format.
struct TIndexDatTimeFormat {
    int32_t UtcOffsetMinutes = 0;
    std::function<std::string(const platform::LocalTime&)> Format;
    [[nodiscard]] std::string TimeText(uint64_t timeStamp) const;
    // The same text, added to the end of `text`; `iso` writes it when there is
    // no Format.
    void AppendTimeText(std::string& text, uint64_t timeStamp, TIsoTimeWriter& iso) const;
};

// Opens the file for reading (sharing reading and writing) and appends its
// URLs and their time texts to `lists`. A file that cannot be opened lists
// nothing and leaves the progress alone; the result tells whether it opened.
bool ReadIndexDatUrls(platform::FileSystem& files, const std::string& fileName, int imageIndex,
                      TIndexDatLists& lists, const TIndexDatTimeFormat& timeFormat,
                      TIndexDatProgress* progress = nullptr);

}  // namespace nullvane::indexdat
