#include "lib/xml/OpenElementStack.h"

OpenElementStack::OpenElementStack(const char16_t* text, bool ignoreCase) : text_(text), ignoreCase_(ignoreCase) {
    stack_.resize(kIndexedFrom);
}

std::u16string OpenElementStack::Key(uint32_t nameStart, uint32_t nameLength) const {
    std::u16string key(text_ + nameStart, nameLength);
    if (ignoreCase_) {
        for (char16_t& c : key) c = FoldCase(c);
    }
    return key;
}

// Growing the room, or an element deep enough to be indexed.
void OpenElementStack::PushDeep(const OpenElement& element) {
    if (size_ == stack_.size()) stack_.resize(size_ * 2);
    if (size_ >= kIndexedFrom) deepByName_[Key(element.nameStart, element.nameLength)].push_back(uint32_t(size_));
    stack_[size_++] = element;
}

// The innermost element is indexed: drop it from the index.
void OpenElementStack::ForgetDeep() {
    const OpenElement& innermost = Innermost();
    auto entry = deepByName_.find(Key(innermost.nameStart, innermost.nameLength));
    entry->second.pop_back();
    if (entry->second.empty()) deepByName_.erase(entry);
}

// The innermost element did not match.
size_t OpenElementStack::FindFurtherOut(uint32_t nameStart, uint32_t nameLength) const {
    size_t depth = size_;
    if (depth > kIndexedFrom) {
        auto entry = deepByName_.find(Key(nameStart, nameLength));
        if (entry != deepByName_.end()) return entry->second.back();
        depth = kIndexedFrom;
    } else if (depth > 0) {
        --depth;
    }
    while (depth > 0) {
        if (Matches(stack_[depth - 1], nameStart, nameLength)) return depth - 1;
        --depth;
    }
    return size_;
}
