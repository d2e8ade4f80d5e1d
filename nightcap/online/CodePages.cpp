#include "nightcap/online/CodePages.h"

namespace nightcap {

std::wstring WideFromCodePage(UINT codePage, const char* text, int length) {
    if (length == 0) return std::wstring();
    const int units = ::MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(size_t(units), L'\0');
    const int written = ::MultiByteToWideChar(codePage, 0, text, length, &wide[0], units);
    wide.resize(size_t(written > 0 ? written : 0));
    return wide;
}

std::string CodePageFromWide(UINT codePage, const wchar_t* units, int count, bool zeroForMissing) {
    if (count == 0) return std::string();
    const char* defaultChar = zeroForMissing ? "" : nullptr;
    const int size = ::WideCharToMultiByte(codePage, 0, units, count, nullptr, 0, defaultChar, nullptr);
    if (size <= 0) return std::string();
    std::string bytes(size_t(size), '\0');
    const int written = ::WideCharToMultiByte(codePage, 0, units, count, &bytes[0], size, defaultChar, nullptr);
    bytes.resize(size_t(written > 0 ? written : 0));
    return bytes;
}

std::wstring WideFromGbk(const std::string& text) {
    return WideFromCodePage(kGbkCodePage, text.data(), int(text.size()));
}

std::string GbkFromWide(const std::wstring& text) {
    return CodePageFromWide(kGbkCodePage, text.data(), int(text.size()), false);
}

}  // namespace nightcap
