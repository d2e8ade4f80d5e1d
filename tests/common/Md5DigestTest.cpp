#include "common/Md5Digest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Md5Lower(const std::string& s) { return Md5Digest::Hex(s.data(), s.size(), false); }

// The test suite of RFC 1321, appendix A.5.
TEST(Md5Digest, RfcTestSuite) {
    EXPECT_EQ(Md5Lower(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Lower("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Lower("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Lower("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Lower("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Lower("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    std::string eightTimes;
    for (int i = 0; i < 8; ++i) eightTimes += "1234567890";
    EXPECT_EQ(Md5Lower(eightTimes),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5Digest, UpperCaseDigits) {
    std::string s = "abc";
    EXPECT_EQ(Md5Digest::Hex(s.data(), s.size(), true), "900150983CD24FB0D6963F7D28E17F72");
}

// Padding crosses a block boundary at 56 bytes; feeding in uneven pieces must not change the digest.
TEST(Md5Digest, PiecewiseUpdatesAndBlockEdges) {
    for (size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000u}) {
        std::string message(length, '\0');
        for (size_t i = 0; i < length; ++i) message[i] = char(i * 7 + 3);
        Md5Digest pieces;
        for (size_t at = 0, step = 1; at < length; at += step, step = step % 13 + 1)
            pieces.Update(message.data() + at, std::min(step, length - at));
        std::array<uint8_t, 16> digest = pieces.Finish();
        EXPECT_EQ(HexDigits(digest.data(), 16, false), Md5Lower(message)) << "length " << length;
    }
}

// Binary bytes, zeros included, are digested as they are.
TEST(Md5Digest, BinaryInput) {
    std::string zeros(3, '\0');
    EXPECT_EQ(Md5Lower(zeros), "693e9af84d3dfcc71e640e005bdc5e2e");
}

}  // namespace
