#include "ElementTable.h"

#include <algorithm>

void ElementTable::Reset(uint32_t capacity) {
    pages_.clear();
    capacity_ = 0;
    Grow(std::max<uint32_t>(capacity, 1));
    pages_[0].push_back(ElementRecord{});
    used_ = 1;
}

// Room is reserved, not filled: records are cleared as they are taken, so memory is touched only when used.
// The last page is widened up to a full page first, then pages are added until capacity records fit.
void ElementTable::Grow(uint32_t capacity) {
    while (capacity_ < capacity) {
        if (capacity_ == pages_.size() * kPageSize) pages_.emplace_back();
        size_t fullPages = (pages_.size() - 1) * kPageSize;
        size_t room = std::min<size_t>(kPageSize, capacity - fullPages);
        pages_.back().reserve(room);
        capacity_ = uint32_t(fullPages + room);
    }
}
