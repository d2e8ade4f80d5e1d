// The element table of XmlDocument: one position record per element, kept in pages of 65,536 records so
// that growing the table never moves a record that is already placed in a full page.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

struct ElementRecord {
    uint32_t start;       // offset of the element's '<'
    uint32_t length;      // to the '>' of its end tag; the start tag's length when empty or unended
    uint32_t tagLengths;  // start-tag length in the low 22 bits, end-tag length in the high 10 bits
    uint32_t flags;       // level in the low 16 bits, and the ElementFlags below
    uint32_t parent;      // 0 = the document
    uint32_t firstChild;  // 0 = none
    uint32_t next;        // 0 = none
    uint32_t previous;    // the first child's previous link points to the last child

    // Longer tags keep only the low bits of their length.
    static constexpr uint32_t kMaxStartTagLength = 0x3FFFFF, kMaxEndTagLength = 0x3FF;

    uint32_t StartTagLength() const { return tagLengths & kMaxStartTagLength; }
    uint32_t EndTagLength() const { return tagLengths >> 22; }
    void SetTagLengths(uint32_t startTag, uint32_t endTag) {
        tagLengths = (startTag & kMaxStartTagLength) | ((endTag & kMaxEndTagLength) << 22);
    }
};

namespace ElementFlags {
constexpr uint32_t kLevelMask = 0xFFFF;
constexpr uint32_t kFirstChild = 0x80000;
constexpr uint32_t kNotEnded = 0x100000;
constexpr uint32_t kErrorInside = 0x200000;
constexpr uint32_t kPlainText = 0x400000;  // ended, and its content is text without markup or references
constexpr uint32_t kIllFormed = 0x800000;  // record 0 only
}  // namespace ElementFlags

class ElementTable {
public:
    static constexpr uint32_t kPageSize = 65536;

    // Drops every record and makes room for capacity records (at least one); record 0 is in use, cleared.
    void Reset(uint32_t capacity);
    // Takes the next free record, cleared, growing the table by half when it is full.
    uint32_t Add() {
        if (used_ == capacity_) Grow(capacity_ + (capacity_ / 2 > 0 ? capacity_ / 2 : 1));
        (*this)[used_] = ElementRecord{};
        return used_++;
    }

    ElementRecord& operator[](uint32_t index) { return pages_[index / kPageSize][index % kPageSize]; }
    const ElementRecord& operator[](uint32_t index) const { return pages_[index / kPageSize][index % kPageSize]; }
    uint32_t Count() const { return used_; }
    uint32_t Capacity() const { return capacity_; }

private:
    void Grow(uint32_t capacity);

    // Pages hold uninitialised room: records are cleared as they are taken, so memory is touched only when used.
    std::vector<std::unique_ptr<ElementRecord[]>> pages_;
    uint32_t firstPageRoom_ = 0;
    uint32_t capacity_ = 0;
    uint32_t used_ = 0;
};
