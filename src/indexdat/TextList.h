#pragma once
// A list of texts kept one after another in one buffer: a list of hundreds of
// thousands of short texts then costs a few growing allocations instead of
// one allocation per text.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
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
        Close();
    }
    // Open and Close add one text written straight into the list's buffer:
    // what the caller appends to the returned buffer between the two.
    std::string& Open() { return texts_; }
    // Texts beyond 4 GiB in all are refused: only a damaged file, whose texts
    // run on through each other, could bring them.
    void Close() {
        if (texts_.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("text list too long");
        ends_.push_back(static_cast<uint32_t>(texts_.size()));
    }
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
    std::vector<uint32_t> ends_;
};

}  // namespace nullvane::indexdat
