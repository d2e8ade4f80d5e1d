#include "XmlText.h"

#include <cstring>

void AppendAscii(std::u16string& out, std::string_view ascii) {
    for (char c : ascii) out.push_back(char16_t(static_cast<unsigned char>(c)));
}

bool NamesEqual(const char16_t* a, const char16_t* b, size_t length, bool ignoreCase) {
    if (!ignoreCase) return std::char_traits<char16_t>::compare(a, b, length) == 0;
    auto fold = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
    for (size_t i = 0; i < length; ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

std::u16string ErrorNumberText(int error) {
    std::string_view text = std::strerror(error);
    text = text.substr(0, text.find_first_of("\r\n"));
    std::u16string result;
    AppendAscii(result, text);
    return result;
}
