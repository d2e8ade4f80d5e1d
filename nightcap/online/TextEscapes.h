// Percent, "=" and plain hexadecimal escapes of GBK texts and byte arrays. Hexadecimal digits are written
// in upper case; on reading, lower-case a-f is understood as well.
#pragma once
#include "nightcap/online/TextBytes.h"

#include <string>

namespace nightcap {

// Every byte except 0-9, A-Z, a-z and * , - . / @ _ becomes "%" and two digits (a GBK character gives two).
std::string UrlEncode(const std::string& text);
// Each "%" with two hexadecimal digits becomes that byte; anything else, "+" included, is copied. A "%"
// not followed by two digits is copied as it is. The text ends at a decoded zero byte.
std::string UrlDecode(const std::string& text);
std::string PercentEncodeAll(const std::string& text);
std::string HexEncodeText(const std::string& text);
// Puts "%" in front of every pair of characters of text (in place: the caller keeps the escaped form),
// then decodes it as UrlDecode does. An odd last character stays as it is.
std::string HexDecodeText(std::string& text);

// Three characters per byte: a marker ("%" in url style, else "=") and two digits.
std::string EscapeBytes(const Bytes& bytes, bool urlStyle);
// Groups of three characters; the first of each is ignored, the other two are the digits of one byte
// (a character that is no digit counts as 0). A short last group is dropped.
Bytes UnescapeBytes(const std::string& text);
std::string BytesToHex(const Bytes& bytes);
// Every pair of digits gives one byte, read as UnescapeBytes reads them; an odd last byte is dropped.
Bytes HexToBytes(const Bytes& digits);
// Exchanges the bytes of every pair; an odd last byte stays where it is.
Bytes SwapBytePairs(const Bytes& bytes);

}  // namespace nightcap
