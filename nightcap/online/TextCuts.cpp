#include "nightcap/online/TextCuts.h"

namespace nightcap {

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// The offset of the character after the one at offset. A lead byte without a second byte that can follow
// it (at the end, or before an ASCII character such as ">") is a character of its own.
size_t NextCharacter(std::string_view text, size_t offset) {
    const bool pair = offset + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[offset])) &&
                      IsTrailByte(static_cast<unsigned char>(text[offset + 1]));
    return offset + (pair ? 2 : 1);
}

// 1-based, -1 when npos.
long Position(size_t offset) { return offset == std::string_view::npos ? -1 : static_cast<long>(offset) + 1; }

}  // namespace

size_t FindWholeCharacters(std::string_view text, std::string_view needle, size_t from) {
    if (needle.size() > text.size()) return std::string_view::npos;
    for (size_t at = from; at + needle.size() <= text.size(); at = NextCharacter(text, at))
        if (text.compare(at, needle.size(), needle) == 0) return at;
    return std::string_view::npos;
}

size_t FindLastWholeCharacters(std::string_view text, std::string_view needle) {
    size_t last = std::string_view::npos;
    for (size_t at = FindWholeCharacters(text, needle); at != std::string_view::npos;
         at = FindWholeCharacters(text, needle, NextCharacter(text, at)))
        last = at;
    return last;
}

std::string TextBetween(std::string_view text, std::string_view open, std::string_view close) {
    const long length = static_cast<long>(text.size());
    const long s = Position(FindWholeCharacters(text, open)) + static_cast<long>(open.size());
    // A missing open marker leaves s before or inside the first character; the search for close then
    // starts at the first character boundary at or after s.
    size_t from = 0;
    while (s > 1 && static_cast<long>(from) < s - 1 && from < text.size()) from = NextCharacter(text, from);
    const long e = Position(FindWholeCharacters(text, close, from));
    if (s < 1 || s > length || e - s <= 0) return std::string();
    return std::string(text.substr(static_cast<size_t>(s - 1), static_cast<size_t>(e - s)));
}

}  // namespace nightcap
