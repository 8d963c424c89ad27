#pragma once
// Lists the URLs that an index.dat records, each with its time stamp.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "indexdat/ByteFile.h"
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
using TIndexDatUrlVisitor = std::function<void(std::string_view url, uint64_t timeStamp)>;

// Walks the hash tables of the file and reports every "URL ", "LEAK" and
// "REDR" record that carries a URL. Progress, when given, moves forward only
// and ends at 100. Tables are walked once each, even when the chain of tables
// loops back; a table stops at the end of the file.
void WalkIndexDatUrls(TByteFile& file, const TIndexDatUrlVisitor& visit, TIndexDatProgress* progress = nullptr);

// An entry of the caller's URL list: the text and its associated number.
struct TIndexDatUrl {
    std::string Url;
    int ImageIndex = 0;
};

// The caller's two parallel lists; the reader only appends to them.
struct TIndexDatLists {
    std::vector<TIndexDatUrl> UrlList;
    std::vector<std::string> TimeList;
};

// How a time stamp becomes the text of the time list: "Not Available" or the
// local date-time in the caller's format.
struct TIndexDatTimeFormat {
    int32_t UtcOffsetMinutes = 0;
    std::function<std::string(const platform::LocalTime&)> Format;
    [[nodiscard]] std::string TimeText(uint64_t timeStamp) const;
};

// Opens the file for reading (sharing reading and writing) and appends its
// URLs and their time texts to `lists`. A file that cannot be opened lists
// nothing and leaves the progress alone; the result tells whether it opened.
bool ReadIndexDatUrls(platform::FileSystem& files, const std::string& fileName, int imageIndex,
                      TIndexDatLists& lists, const TIndexDatTimeFormat& timeFormat,
                      TIndexDatProgress* progress = nullptr);

}  // namespace nullvane::indexdat
