#include "nightcap/online/TextBytes.h"

namespace nightcap {

namespace {

char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

std::string TextOf(const Bytes& bytes) {
    std::string text;
    for (unsigned char b : bytes) {
        if (b == 0) break;
        text.push_back(char(b));
    }
    return text;
}

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (size_t i = 0; i < lower.size(); ++i) {
        if (IsGbkLeadByte(static_cast<unsigned char>(lower[i])))
            ++i;  // skip the trail byte: it may look like an ASCII letter
        else
            lower[i] = LowerChar(lower[i]);
    }
    return lower;
}

size_t FindNoCase(std::string_view text, std::string_view needle, size_t from) {
    if (needle.size() > text.size()) return std::string_view::npos;
    for (size_t at = from; at + needle.size() <= text.size(); ++at) {
        size_t i = 0;
        while (i < needle.size() && LowerChar(text[at + i]) == LowerChar(needle[i])) ++i;
        if (i == needle.size()) return at;
    }
    return std::string_view::npos;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && FindNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

long LeadingNumber(std::string_view text, long limit) {
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        if (value > (limit - (c - '0')) / 10) return limit;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace nightcap
