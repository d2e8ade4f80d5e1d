// The text codec: code-page conversions through Windows, and the escape, hexadecimal and Base64 rules.
#include "nightcap/online/TextCodec.h"

#include <gtest/gtest.h>

#include <string>

using namespace nightcap;

namespace {

Bytes B(std::initializer_list<unsigned char> bytes) { return Bytes(bytes); }
Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

const std::string kZhong = "\xD6\xD0";  // 中 in GBK

TEST(TextCodec, Utf8AndUtf16ToGbk) {
    EXPECT_EQ(TextCodec::Utf8ToText(B({0xE4, 0xB8, 0xAD})), kZhong);
    EXPECT_EQ(TextCodec::Utf8ToText(B("weather:\xE6\x99\xB4,")), "weather:\xC7\xE7,");  // 晴
    EXPECT_EQ(TextCodec::Utf8ToText(Bytes()), "");
    // A character GBK lacks (U+00E9 is in GBK, U+0E01 Thai is not) ends the text there.
    EXPECT_EQ(TextCodec::Utf16ToText(B({'a', 0, 0x01, 0x0E, 'b', 0})), "a");
    // An odd last byte is no UTF-16 unit and is left out.
    EXPECT_EQ(TextCodec::Utf16ToText(B({'a', 0, 'b'})), "a");
}

TEST(TextCodec, GbkToUtf8AndUtf16WithTerminators) {
    EXPECT_EQ(TextCodec::TextToUtf8(kZhong), B({0xE4, 0xB8, 0xAD, 0}));
    EXPECT_EQ(TextCodec::TextToUtf8(""), Bytes());
    EXPECT_EQ(TextCodec::TextToUtf16(kZhong + "a"), B({0x2D, 0x4E, 'a', 0, 0, 0}));
    EXPECT_EQ(TextCodec::TextToUtf16(""), Bytes());
    EXPECT_EQ(TextCodec::Utf8ToUtf16(B({0xE4, 0xB8, 0xAD})), B({0x2D, 0x4E}));
    EXPECT_EQ(TextCodec::Utf16ToUtf8(B({0x2D, 0x4E})), B({0xE4, 0xB8, 0xAD}));
}

TEST(TextCodec, Big5AndChineseScripts) {
    // 中 is A4 A4 in Big5; 國 (Big5 B0 EA) is the traditional form of 国 (GBK B9 FA).
    EXPECT_EQ(TextCodec::Big5ToText("\xA4\xA4"), kZhong);
    EXPECT_EQ(TextCodec::TextToBig5(kZhong), "\xA4\xA4");
    EXPECT_EQ(TextCodec::TextToBig5("ab"), "ab");
    EXPECT_EQ(TextCodec::Big5ToText(""), "");
    // 中 is written alike in both scripts: the combined forms come down to the code-page change.
    EXPECT_EQ(TextCodec::TextToTraditionalBig5(kZhong + "a"), "\xA4\xA4" "a");
    EXPECT_EQ(TextCodec::Big5ToSimplifiedText("\xA4\xA4" "a"), kZhong + "a");
    const std::string traditional = TextCodec::ToTraditional("\xB9\xFA");
    const std::string simplified = TextCodec::ToSimplified(traditional);
    EXPECT_LE(traditional.size(), 2u);  // never longer than the input
    if (traditional == "\x87\xF8") {     // 國 in GBK: this system maps scripts
        EXPECT_EQ(simplified, "\xB9\xFA");
        EXPECT_EQ(TextCodec::TextToTraditionalBig5("\xB9\xFA"), "\xB0\xEA");
        EXPECT_EQ(TextCodec::Big5ToSimplifiedText("\xB0\xEA"), "\xB9\xFA");
    }
}

TEST(TextCodec, UrlEncodeKeepsOnlyTheSafeCharacters) {
    EXPECT_EQ(TextCodec::UrlEncode(kZhong + "a b+c"), "%D6%D0a%20b%2Bc");
    EXPECT_EQ(TextCodec::UrlEncode("09AZaz*,-./@_"), "09AZaz*,-./@_");
    EXPECT_EQ(TextCodec::UrlEncode("\x01~%=&?"), "%01%7E%25%3D%26%3F");
}

TEST(TextCodec, UrlDecodeReadsBothDigitCases) {
    EXPECT_EQ(TextCodec::UrlDecode("%d6%D0+"), kZhong + "+");
    // A "%" without two digits after it stays as it is, also at the very end.
    EXPECT_EQ(TextCodec::UrlDecode("100%"), "100%");
    EXPECT_EQ(TextCodec::UrlDecode("%4"), "%4");
    EXPECT_EQ(TextCodec::UrlDecode("%zz%41"), "%zzA");
    // A decoded zero byte ends the text.
    EXPECT_EQ(TextCodec::UrlDecode("a%00b"), "a");
}

TEST(TextCodec, HexTextFormsAndTheInPlaceRewrite) {
    EXPECT_EQ(TextCodec::HexEncodeText(kZhong + "a"), "D6D061");
    EXPECT_EQ(TextCodec::PercentEncodeAll("a "), "%61%20");
    std::string hex = "d6D061";
    EXPECT_EQ(TextCodec::HexDecodeText(hex), kZhong + "a");
    EXPECT_EQ(hex, "%d6%D0%61");  // the caller's text now holds the escaped form
    std::string odd = "414";
    EXPECT_EQ(TextCodec::HexDecodeText(odd), "A4");
}

TEST(TextCodec, EscapedBytesRoundTrip) {
    EXPECT_EQ(TextCodec::EscapeBytes(B({0x00, 0xFF}), true), "%00%FF");
    EXPECT_EQ(TextCodec::EscapeBytes(B({0x00, 0xFF}), false), "=00=FF");
    EXPECT_EQ(TextCodec::UnescapeBytes("%00%FF"), B({0x00, 0xFF}));
    EXPECT_EQ(TextCodec::UnescapeBytes("=00=FF"), B({0x00, 0xFF}));
    EXPECT_EQ(TextCodec::UnescapeBytes(""), Bytes());
    // A short last group is dropped; characters that are no digits count as 0.
    EXPECT_EQ(TextCodec::UnescapeBytes("%41%4"), B({0x41}));
    EXPECT_EQ(TextCodec::UnescapeBytes("%G1%\xFF\x80"), B({0x01, 0x00}));
    Bytes all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<unsigned char>(i));
    EXPECT_EQ(TextCodec::UnescapeBytes(TextCodec::EscapeBytes(all, false)), all);
    EXPECT_EQ(TextCodec::HexToBytes(B(TextCodec::BytesToHex(all))), all);
}

TEST(TextCodec, UnicodeHexIsBigEndianCodePoints) {
    EXPECT_EQ(TextCodec::TextToUnicodeHex(kZhong), "4E2D");
    EXPECT_EQ(TextCodec::TextToUnicodeHex(kZhong + "A"), "4E2D0041");
    EXPECT_EQ(TextCodec::TextToUnicodeHex(""), "");
    EXPECT_EQ(TextCodec::UnicodeHexToText("4E2D0041"), kZhong + "A");
    EXPECT_EQ(TextCodec::UnicodeHexToText("4e2d"), kZhong);
    EXPECT_EQ(TextCodec::SwapBytePairs(B({1, 2, 3})), B({2, 1, 3}));
}

TEST(TextCodec, Base64PadsTheCallersBytesInPlace) {
    Bytes abc = B("abc");
    EXPECT_EQ(TextCodec::Base64Encode(abc), B("YWJj"));
    EXPECT_EQ(abc, B("abc"));
    Bytes ab = B("ab");
    EXPECT_EQ(TextCodec::Base64Encode(ab), B("YWI="));
    EXPECT_EQ(ab, B({'a', 'b', 0}));
    Bytes a = B("a");
    EXPECT_EQ(TextCodec::Base64Encode(a), B("YQ=="));
    EXPECT_EQ(a, B({'a', 0, 0}));
    Bytes none;
    EXPECT_EQ(TextCodec::Base64Encode(none), Bytes());
}

TEST(TextCodec, Base64DecodeDropsWhatThePaddingStoodFor) {
    EXPECT_EQ(TextCodec::Base64Decode(B("YWJj")), B("abc"));
    EXPECT_EQ(TextCodec::Base64Decode(B("YWI=")), B("ab"));
    EXPECT_EQ(TextCodec::Base64Decode(B("YQ==")), B("a"));
    Bytes binary = B({0, 0xFF, 0x10, 0x80, 0x7F});
    Bytes copy = binary;
    EXPECT_EQ(TextCodec::Base64Decode(TextCodec::Base64Encode(copy)), binary);
    // Padding with no whole group before it, and characters outside the alphabet, read nothing outside.
    EXPECT_EQ(TextCodec::Base64Decode(B("==")), Bytes());
    EXPECT_EQ(TextCodec::Base64Decode(B("=")), Bytes());
    EXPECT_EQ(TextCodec::Base64Decode(B("YWJjZ")), B("abc"));
    EXPECT_EQ(TextCodec::Base64Decode(B({0xFF, '!', 0, '~'})), B({0, 0, 0}));
}

}  // namespace
