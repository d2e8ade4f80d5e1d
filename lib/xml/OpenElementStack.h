// The stack of open elements while the element table is built, innermost last.
#pragma once
#include "lib/xml/XmlText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct OpenElement {
    uint32_t record;
    uint32_t nameStart;   // offset of the name in the text
    uint32_t nameLength;
};

class OpenElementStack {
public:
    OpenElementStack(const char16_t* text, bool ignoreCase);

    bool Empty() const { return size_ == 0; }
    size_t Size() const { return size_; }
    const OpenElement& Innermost() const { return stack_[size_ - 1]; }
    void Push(const OpenElement& element) {
        if (size_ >= kIndexedFrom || size_ == stack_.size())
            PushDeep(element);
        else
            stack_[size_++] = element;
    }
    void Pop() {
        if (size_ > kIndexedFrom) ForgetDeep();
        --size_;
    }

    // Whether the innermost element's name also stands at nameStart (with room for it in the text).
    bool InnermostNamedAt(uint32_t nameStart) const {
        return size_ > 0 && Matches(Innermost(), nameStart, Innermost().nameLength);
    }

    // How many elements stay open when the innermost one with this name is closed (its depth from the
    // outside), or Size() when none has this name.
    size_t FindInnermost(uint32_t nameStart, uint32_t nameLength) const {
        if (size_ > 0 && Matches(Innermost(), nameStart, nameLength)) return size_ - 1;
        return FindFurtherOut(nameStart, nameLength);
    }

private:
    // Entries this deep are also indexed by name, so that an end tag matching nothing deep in a document
    // nested thousands of levels costs one look-up instead of a walk down the whole stack.
    static constexpr size_t kIndexedFrom = 64;

    void PushDeep(const OpenElement& element);
    void ForgetDeep();
    size_t FindFurtherOut(uint32_t nameStart, uint32_t nameLength) const;
    std::u16string Key(uint32_t nameStart, uint32_t nameLength) const;
    bool Matches(const OpenElement& element, uint32_t nameStart, uint32_t nameLength) const {
        return element.nameLength == nameLength &&
               NamesEqual(text_ + element.nameStart, text_ + nameStart, nameLength, ignoreCase_);
    }

    const char16_t* text_;
    bool ignoreCase_;
    std::vector<OpenElement> stack_;  // room; the open elements are the first size_
    size_t size_ = 0;
    std::unordered_map<std::u16string, std::vector<uint32_t>> deepByName_;  // name -> depths, innermost last
};
