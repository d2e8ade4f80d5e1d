#include "nightcap/online/TextCodec.h"

#include "nightcap/online/CodePages.h"

namespace nightcap {

namespace {

constexpr LCID kChineseLocale = 2052;

Bytes BytesOfWide(const std::wstring& wide) {
    const auto* p = reinterpret_cast<const unsigned char*>(wide.data());
    return Bytes(p, p + wide.size() * 2);
}

std::wstring WideOfBytes(const Bytes& utf16) {
    std::wstring wide(utf16.size() / 2, L'\0');
    for (size_t i = 0; i < wide.size(); ++i) wide[i] = wchar_t(utf16[2 * i] | utf16[2 * i + 1] << 8);
    return wide;
}

// To a code page through UTF-16; a character the target lacks ends the text.
std::string Recode(UINT from, UINT to, const std::string& text) {
    const std::wstring wide = WideFromCodePage(from, text.data(), int(text.size()));
    return TextOf(BytesOf(CodePageFromWide(to, wide.data(), int(wide.size()), true)));
}

std::string MapChinese(const std::string& text, DWORD flag) {
    if (text.empty()) return std::string();
    std::string mapped(text.size(), '\0');
    const int written = ::LCMapStringA(kChineseLocale, flag, text.data(), int(text.size()), &mapped[0],
                                       int(mapped.size()));
    mapped.resize(size_t(written > 0 ? written : 0));
    return TextOf(BytesOf(mapped));
}

}  // namespace

std::string TextCodec::Utf8ToText(const Bytes& utf8) { return Utf16ToText(Utf8ToUtf16(utf8)); }

Bytes TextCodec::TextToUtf8(const std::string& text) { return Utf16ToUtf8(TextToUtf16(text)); }

Bytes TextCodec::Utf8ToUtf16(const Bytes& utf8) {
    return BytesOfWide(WideFromCodePage(CP_UTF8, reinterpret_cast<const char*>(utf8.data()), int(utf8.size())));
}

std::string TextCodec::Utf16ToText(const Bytes& utf16) {
    const std::wstring wide = WideOfBytes(utf16);
    return TextOf(BytesOf(CodePageFromWide(kGbkCodePage, wide.data(), int(wide.size()), true)));
}

Bytes TextCodec::TextToUtf16(const std::string& text) {
    const std::string gbk = TextOf(BytesOf(text));
    if (gbk.empty()) return Bytes();
    return BytesOfWide(WideFromCodePage(kGbkCodePage, gbk.c_str(), -1));
}

Bytes TextCodec::Utf16ToUtf8(const Bytes& utf16) {
    const std::wstring wide = WideOfBytes(utf16);
    const std::string utf8 = CodePageFromWide(CP_UTF8, wide.data(), int(wide.size()), false);
    return BytesOf(utf8);
}

std::string TextCodec::Big5ToText(const std::string& big5) { return Recode(kBig5CodePage, kGbkCodePage, big5); }

std::string TextCodec::TextToBig5(const std::string& text) { return Recode(kGbkCodePage, kBig5CodePage, text); }

std::string TextCodec::Big5ToSimplifiedText(const std::string& big5) { return ToSimplified(Big5ToText(big5)); }

std::string TextCodec::TextToTraditionalBig5(const std::string& text) { return TextToBig5(ToTraditional(text)); }

std::string TextCodec::ToTraditional(const std::string& text) { return MapChinese(text, LCMAP_TRADITIONAL_CHINESE); }

std::string TextCodec::ToSimplified(const std::string& text) { return MapChinese(text, LCMAP_SIMPLIFIED_CHINESE); }

std::string TextCodec::TextToUnicodeHex(const std::string& text) {
    Bytes utf16 = TextToUtf16(text);
    if (utf16.size() >= 2) utf16.resize(utf16.size() - 2);  // the terminator
    return BytesToHex(SwapBytePairs(utf16));
}

std::string TextCodec::UnicodeHexToText(const std::string& hex) {
    Bytes utf16 = SwapBytePairs(HexToBytes(BytesOf(hex)));
    utf16.push_back(0);
    utf16.push_back(0);
    return Utf16ToText(utf16);
}

}  // namespace nightcap
