#include "ElementTable.h"

#include <algorithm>

void ElementTable::Reset(uint32_t capacity) {
    pages_.clear();
    capacity_ = used_ = 0;
    Grow(std::max<uint32_t>(capacity, 1));
    (*this)[0] = ElementRecord{};
    used_ = 1;
}

// The last page is widened up to a full page first (its records move), then pages are added until capacity
// records fit.
void ElementTable::Grow(uint32_t capacity) {
    while (capacity_ < capacity) {
        const uint32_t fullPages = capacity_ / kPageSize;
        const uint32_t room = std::min<uint32_t>(kPageSize, capacity - fullPages * kPageSize);
        std::unique_ptr<ElementRecord[]> page(new ElementRecord[room]);
        if (fullPages < pages_.size()) {
            std::copy(pages_.back().get(), pages_.back().get() + (used_ - fullPages * kPageSize), page.get());
            pages_.back() = std::move(page);
        } else {
            pages_.push_back(std::move(page));
        }
        capacity_ = fullPages * kPageSize + room;
    }
}
