#include "OpenElementStack.h"

#include "XmlText.h"

OpenElementStack::OpenElementStack(const char16_t* text, bool ignoreCase) : text_(text), ignoreCase_(ignoreCase) {
    stack_.reserve(6);
}

std::u16string OpenElementStack::Key(uint32_t nameStart, uint32_t nameLength) const {
    std::u16string key(text_ + nameStart, nameLength);
    if (ignoreCase_) {
        for (char16_t& c : key) c = FoldCase(c);
    }
    return key;
}

bool OpenElementStack::Matches(const OpenElement& element, uint32_t nameStart, uint32_t nameLength) const {
    return element.nameLength == nameLength &&
           NamesEqual(text_ + element.nameStart, text_ + nameStart, nameLength, ignoreCase_);
}

void OpenElementStack::Push(const OpenElement& element) {
    if (stack_.size() == stack_.capacity()) stack_.reserve(stack_.capacity() * 2 + 6);
    if (stack_.size() >= kIndexedFrom)
        deepByName_[Key(element.nameStart, element.nameLength)].push_back(uint32_t(stack_.size()));
    stack_.push_back(element);
}

void OpenElementStack::Pop() {
    if (stack_.size() > kIndexedFrom) {
        const OpenElement& innermost = stack_.back();
        auto entry = deepByName_.find(Key(innermost.nameStart, innermost.nameLength));
        entry->second.pop_back();
        if (entry->second.empty()) deepByName_.erase(entry);
    }
    stack_.pop_back();
}

size_t OpenElementStack::FindInnermost(uint32_t nameStart, uint32_t nameLength) const {
    size_t depth = stack_.size();
    if (depth > kIndexedFrom) {
        if (Matches(stack_.back(), nameStart, nameLength)) return depth - 1;
        auto entry = deepByName_.find(Key(nameStart, nameLength));
        if (entry != deepByName_.end()) return entry->second.back();
        depth = kIndexedFrom;
    }
    while (depth > 0) {
        if (Matches(stack_[depth - 1], nameStart, nameLength)) return depth - 1;
        --depth;
    }
    return stack_.size();
}
