// The stack of open elements while the element table is built, innermost last.
#pragma once
#include "XmlText.h"

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

    bool Empty() const { return stack_.empty(); }
    size_t Size() const { return stack_.size(); }
    const OpenElement& Innermost() const { return stack_.back(); }
    void Push(const OpenElement& element) {
        if (stack_.size() >= kIndexedFrom) IndexDeep(element);
        stack_.push_back(element);
    }
    void Pop() {
        if (stack_.size() > kIndexedFrom) ForgetDeep();
        stack_.pop_back();
    }

    // How many elements stay open when the innermost one with this name is closed (its depth from the
    // outside), or Size() when none has this name.
    size_t FindInnermost(uint32_t nameStart, uint32_t nameLength) const {
        if (!stack_.empty() && Matches(stack_.back(), nameStart, nameLength)) return stack_.size() - 1;
        return FindFurtherOut(nameStart, nameLength);
    }

private:
    // Entries this deep are also indexed by name, so that an end tag matching nothing deep in a document
    // nested thousands of levels costs one look-up instead of a walk down the whole stack.
    static constexpr size_t kIndexedFrom = 64;

    void IndexDeep(const OpenElement& element);
    void ForgetDeep();
    size_t FindFurtherOut(uint32_t nameStart, uint32_t nameLength) const;
    std::u16string Key(uint32_t nameStart, uint32_t nameLength) const;
    bool Matches(const OpenElement& element, uint32_t nameStart, uint32_t nameLength) const {
        return element.nameLength == nameLength &&
               NamesEqual(text_ + element.nameStart, text_ + nameStart, nameLength, ignoreCase_);
    }

    const char16_t* text_;
    bool ignoreCase_;
    std::vector<OpenElement> stack_;
    std::unordered_map<std::u16string, std::vector<uint32_t>> deepByName_;  // name -> depths, innermost last
};
