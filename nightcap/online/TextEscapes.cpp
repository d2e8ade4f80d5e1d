#include "nightcap/online/TextEscapes.h"

#include <utility>

namespace nightcap {

namespace {

const char kDigits[] = "0123456789ABCDEF";

// The value of a hexadecimal digit, or -1.
int DigitValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

unsigned char ByteOfDigits(unsigned char high, unsigned char low) {
    const int h = DigitValue(high), l = DigitValue(low);
    return static_cast<unsigned char>((h < 0 ? 0 : h) * 16 + (l < 0 ? 0 : l));
}

void AppendHex(std::string& out, unsigned char byte) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

bool KeptInUrl(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '*' || c == ',' ||
           c == '-' || c == '.' || c == '/' || c == '@' || c == '_';
}

std::string Escaped(const std::string& text, const char* marker) {
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        out += marker;
        AppendHex(out, c);
    }
    return out;
}

}  // namespace

std::string UrlEncode(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (KeptInUrl(c)) {
            out += char(c);
        } else {
            out += '%';
            AppendHex(out, c);
        }
    }
    return out;
}

std::string UrlDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = text[i];
        if (c == '%' && i + 2 < text.size() && DigitValue(text[i + 1]) >= 0 && DigitValue(text[i + 2]) >= 0) {
            const unsigned char byte = ByteOfDigits(text[i + 1], text[i + 2]);
            if (byte == 0) break;
            out += char(byte);
            i += 2;
        } else {
            out += char(c);
        }
    }
    return out;
}

std::string PercentEncodeAll(const std::string& text) { return Escaped(text, "%"); }

std::string HexEncodeText(const std::string& text) { return Escaped(text, ""); }

std::string HexDecodeText(std::string& text) {
    std::string escaped;
    size_t i = 0;
    for (; i + 1 < text.size(); i += 2) escaped += "%" + text.substr(i, 2);
    escaped += text.substr(i);
    text = escaped;
    return UrlDecode(text);
}

std::string EscapeBytes(const Bytes& bytes, bool urlStyle) {
    return Escaped(std::string(bytes.begin(), bytes.end()), urlStyle ? "%" : "=");
}

Bytes UnescapeBytes(const std::string& text) {
    Bytes bytes;
    for (size_t i = 0; i + 3 <= text.size(); i += 3) bytes.push_back(ByteOfDigits(text[i + 1], text[i + 2]));
    return bytes;
}

std::string BytesToHex(const Bytes& bytes) { return Escaped(std::string(bytes.begin(), bytes.end()), ""); }

Bytes HexToBytes(const Bytes& digits) {
    Bytes bytes;
    for (size_t i = 0; i + 2 <= digits.size(); i += 2) bytes.push_back(ByteOfDigits(digits[i], digits[i + 1]));
    return bytes;
}

Bytes SwapBytePairs(const Bytes& bytes) {
    Bytes swapped = bytes;
    for (size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    return swapped;
}

}  // namespace nightcap
