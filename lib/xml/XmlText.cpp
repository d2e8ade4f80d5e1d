#include "lib/xml/XmlText.h"

#include <cstring>

void AppendAscii(std::u16string& out, std::string_view ascii) {
    for (char c : ascii) out.push_back(char16_t(static_cast<unsigned char>(c)));
}

std::u16string ErrorNumberText(int error) {
    std::string_view text = std::strerror(error);
    text = text.substr(0, text.find_first_of("\r\n"));
    std::u16string result;
    AppendAscii(result, text);
    return result;
}
