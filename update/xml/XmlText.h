// Small text helpers of the XML reader.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Appends ASCII text to UTF-16 text.
void AppendAscii(std::u16string& out, std::string_view ascii);
inline char16_t FoldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// Tag names compare exactly, or with ASCII letters folded when ignoreCase is set.
inline bool NamesEqual(const char16_t* a, const char16_t* b, size_t length, bool ignoreCase) {
    for (size_t i = 0; i < length; ++i) {
        if (a[i] != b[i] && !(ignoreCase && FoldCase(a[i]) == FoldCase(b[i]))) return false;
    }
    return true;
}
// The platform's standard text for an error number, up to its first line break.
std::u16string ErrorNumberText(int error);
