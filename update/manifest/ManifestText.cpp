#include "update/manifest/ManifestText.h"

namespace update {

namespace {

bool IsWhiteSpace(char16_t c) { return c == ' ' || (c >= 9 && c <= 13); }

}  // namespace

std::u16string Trimmed(std::u16string_view text) {
    size_t first = 0, end = text.size();
    while (first < end && IsWhiteSpace(text[first])) ++first;
    while (end > first && IsWhiteSpace(text[end - 1])) --end;
    return std::u16string(text.substr(first, end - first));
}

std::u16string WithBackslashes(std::u16string text) {
    for (char16_t& c : text)
        if (c == u'/') c = u'\\';
    return text;
}

std::u16string FromAscii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace update
