#include "lib/xml/ElementTable.h"

#include <algorithm>

void ElementTable::Reset(uint32_t capacity) {
    pages_.clear();
    capacity_ = used_ = 0;
    Grow(std::max<uint32_t>(capacity, 1));
    (*this)[0] = ElementRecord{};
    used_ = 1;
}

// Page 0 is as large as the first room asked for, so a small document stays small, and is widened up to a
// full page when the table outgrows it (its records move). Every further page is allocated whole, so no
// other record ever moves; the room is not touched until records are taken.
void ElementTable::Grow(uint32_t capacity) {
    const uint32_t firstRoom = std::min(capacity, kPageSize);
    if (pages_.empty()) {
        pages_.emplace_back(new ElementRecord[firstRoom]);
        firstPageRoom_ = firstRoom;
    } else if (firstPageRoom_ < firstRoom) {
        std::unique_ptr<ElementRecord[]> page(new ElementRecord[firstRoom]);
        std::copy(pages_[0].get(), pages_[0].get() + std::min(used_, firstPageRoom_), page.get());
        pages_[0] = std::move(page);
        firstPageRoom_ = firstRoom;
    }
    while (pages_.size() * size_t(kPageSize) < capacity) pages_.emplace_back(new ElementRecord[kPageSize]);
    capacity_ = capacity;
}
