// Conversions between the program's GBK texts and the byte forms web pages and URLs need: UTF-8, UTF-16
// (little-endian unless said otherwise), Big5, Simplified/Traditional Chinese, escapes and Base64.
// Stateless: every operation returns a fresh value. The escapes and Base64 live in TextEscapes.h and
// Base64.h; they are repeated here so that callers find the whole family in one class.
#pragma once
#include "nightcap/online/Base64.h"
#include "nightcap/online/TextBytes.h"
#include "nightcap/online/TextEscapes.h"

#include <string>

namespace nightcap {

class TextCodec {
public:
    static std::string Utf8ToText(const Bytes& utf8);
    // Ends with one zero byte; the empty text gives an empty array.
    static Bytes TextToUtf8(const std::string& text);
    static Bytes Utf8ToUtf16(const Bytes& utf8);
    // A character GBK lacks ends the text.
    static std::string Utf16ToText(const Bytes& utf16);
    // Ends with the two-byte terminator; the empty text gives an empty array.
    static Bytes TextToUtf16(const std::string& text);
    static Bytes Utf16ToUtf8(const Bytes& utf16);

    static std::string Big5ToText(const std::string& big5);
    static std::string TextToBig5(const std::string& text);
    static std::string Big5ToSimplifiedText(const std::string& big5);
    static std::string TextToTraditionalBig5(const std::string& text);
    static std::string ToTraditional(const std::string& text);
    static std::string ToSimplified(const std::string& text);

    static std::string UrlEncode(const std::string& text) { return nightcap::UrlEncode(text); }
    static std::string UrlDecode(const std::string& text) { return nightcap::UrlDecode(text); }
    static std::string PercentEncodeAll(const std::string& text) { return nightcap::PercentEncodeAll(text); }
    static std::string HexEncodeText(const std::string& text) { return nightcap::HexEncodeText(text); }
    static std::string HexDecodeText(std::string& text) { return nightcap::HexDecodeText(text); }
    static std::string EscapeBytes(const Bytes& bytes, bool urlStyle) { return nightcap::EscapeBytes(bytes, urlStyle); }
    static Bytes UnescapeBytes(const std::string& text) { return nightcap::UnescapeBytes(text); }
    static std::string BytesToHex(const Bytes& bytes) { return nightcap::BytesToHex(bytes); }
    static Bytes HexToBytes(const Bytes& digits) { return nightcap::HexToBytes(digits); }
    static Bytes SwapBytePairs(const Bytes& bytes) { return nightcap::SwapBytePairs(bytes); }
    static Bytes Base64Encode(Bytes& data) { return nightcap::Base64Encode(data); }
    static Bytes Base64Decode(const Bytes& text) { return nightcap::Base64Decode(text); }

    // Four uppercase hexadecimal digits of the code point per character ("中" gives 4E2D).
    static std::string TextToUnicodeHex(const std::string& text);
    static std::string UnicodeHexToText(const std::string& hex);
};

}  // namespace nightcap
