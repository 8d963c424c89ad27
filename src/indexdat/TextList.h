#pragma once
// A list of texts kept one after another in one buffer: a list of hundreds of
// thousands of short texts then costs a few growing allocations instead of
// one allocation per text.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nullvane::indexdat {

class TTextList {
public:
    [[nodiscard]] size_t size() const { return ends_.size(); }
    [[nodiscard]] bool empty() const { return ends_.empty(); }
    // Valid until the list next changes.
    [[nodiscard]] std::string_view operator[](size_t i) const {
        const size_t start = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(texts_).substr(start, ends_[i] - start);
    }
    void push_back(std::string_view text) {
        texts_.append(text);
        ends_.push_back(texts_.size());
    }
    // Adds an empty text and lets the caller append it to the returned
    // buffer; the text ends where the buffer ends at the next push or Close.
    std::string& Open() { return texts_; }
    void Close() { ends_.push_back(texts_.size()); }
    // Room for `more` texts of `moreBytes` in all beyond what is held.
    void reserve(size_t more, size_t moreBytes) {
        texts_.reserve(texts_.size() + moreBytes);
        ends_.reserve(ends_.size() + more);
    }
    void clear() {
        texts_.clear();
        ends_.clear();
    }

private:
    std::string texts_;
    std::vector<size_t> ends_;
};

}  // namespace nullvane::indexdat
