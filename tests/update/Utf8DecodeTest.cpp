#include "lib/xml/Utf8Decode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Decode(const std::string& bytes) {
    std::u16string out(bytes.size(), u'\0');
    out.resize(DecodeUtf8Lenient(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &out[0]));
    return out;
}

TEST(Utf8Decode, WellFormedSequencesAndSurrogatePairs) {
    EXPECT_EQ(Decode("plain ascii text, longer than one word"), u"plain ascii text, longer than one word");
    EXPECT_EQ(Decode("\xC3\xA9t\xC3\xA9"), u"\u00E9t\u00E9");
    EXPECT_EQ(Decode("\xE4\xB8\xAD\xE6\x96\x87"), u"\u4E2D\u6587");
    EXPECT_EQ(Decode("\xF0\x9F\x98\x80!"), std::u16string(u"\xD83D\xDE00!"));
    EXPECT_EQ(Decode("\xEF\xBB\xBF<"), u"\uFEFF<");
}

TEST(Utf8Decode, InvalidSequencesBecomeQuestionMarks) {
    EXPECT_EQ(Decode("\xFF"), u"?");
    EXPECT_EQ(Decode("a\xF8\x80z"), u"a??z");  // 0xF8 is no lead byte; the 0x80 then leads a broken pair
    // A byte without its top bit breaks the sequence and is kept.
    EXPECT_EQ(Decode("\xC3" "A"), u"?A");
    EXPECT_EQ(Decode("\xE4\xB8x"), u"?x");
    // A stray continuation byte leads a sequence of its own.
    EXPECT_EQ(Decode("\x85\x81"), u"\u0141");
}

TEST(Utf8Decode, ZeroEndsTextAndCutSequencesAreDropped) {
    EXPECT_EQ(Decode(std::string("ab\0cd", 5)), u"ab");
    EXPECT_EQ(Decode(std::string("0123456789\0abcdefghij", 21)), u"0123456789");  // inside the fast path
    EXPECT_EQ(Decode("ab\xC0\x80" "cd"), u"ab");  // an over-long zero ends it too
    EXPECT_EQ(Decode("ab\xE4\xB8"), u"ab");
    EXPECT_EQ(Decode("ab\xF0\x9F\x98"), u"ab");
}

}  // namespace
