// Readable UTF-16 in test expectations: ASCII widened, and back.
#pragma once
#include <string>

inline std::u16string U16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

inline std::string Ascii(const std::u16string& text) {
    std::string result;
    for (char16_t c : text) result.push_back(c < 0x80 ? char(c) : '#');
    return result;
}
