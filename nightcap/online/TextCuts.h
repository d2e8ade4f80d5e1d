// Cutting pieces out of GBK page texts by the markers around them. Every search is case-sensitive and
// steps over whole characters: a match never starts on the second byte of a two-byte character.
#pragma once
#include <string>
#include <string_view>

namespace nightcap {

// Offset of the first occurrence of needle at or after from (a character boundary); npos when absent.
size_t FindWholeCharacters(std::string_view text, std::string_view needle, size_t from = 0);
// Offset of the last occurrence of needle; npos when absent.
size_t FindLastWholeCharacters(std::string_view text, std::string_view needle);

// The text between the first open marker and the first close marker after it. Positions counted from 1:
// p = where open starts (-1 when absent), s = p + length of open, e = where close starts at or after s
// (from the start when s < 1; -1 when absent); the e - s bytes from s, or the empty text when that is not
// positive or s lies outside the text. So a missing two-byte open marker cuts from the start of the text.
std::string TextBetween(std::string_view text, std::string_view open, std::string_view close);

}  // namespace nightcap
