#include "ElementTable.h"

#include <algorithm>

void ElementTable::Reset(uint32_t capacity) {
    pages_.clear();
    capacity_ = 0;
    Grow(std::max<uint32_t>(capacity, 1));
    used_ = 1;
}

uint32_t ElementTable::Add() {
    if (used_ == capacity_) Grow(capacity_ + std::max<uint32_t>(capacity_ / 2, 1));
    return used_++;
}

// Fills the last page up to a full page, then adds pages until capacity records fit.
void ElementTable::Grow(uint32_t capacity) {
    while (capacity_ < capacity) {
        if (pages_.empty() || pages_.back().size() == kPageSize) pages_.emplace_back();
        std::vector<ElementRecord>& page = pages_.back();
        size_t size = std::min<size_t>(kPageSize, page.size() + (capacity - capacity_));
        capacity_ += uint32_t(size - page.size());
        page.resize(size, ElementRecord{});
    }
}
