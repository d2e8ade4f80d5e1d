// Byte arrays and the program's texts: GBK byte strings that end at the first zero byte.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace nightcap {

using Bytes = std::vector<unsigned char>;

// The bytes up to the first zero byte, taken as text (no code-page conversion).
std::string TextOf(const Bytes& bytes);
Bytes BytesOf(std::string_view text);

// Lower-cases the ASCII letters of a GBK text; the second byte of a two-byte character is left alone.
std::string LowerAscii(std::string_view text);

// Position of needle in text at or after from, ASCII letters compared ignoring case; npos when absent.
size_t FindNoCase(std::string_view text, std::string_view needle, size_t from = 0);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// The number made of the leading decimal digits (0 when there are none), capped at limit.
long LeadingNumber(std::string_view text, long limit = 0x7fffffffL);

}  // namespace nightcap
