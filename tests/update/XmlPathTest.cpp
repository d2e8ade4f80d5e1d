#include "lib/xml/XmlPath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kTimeReply =
    "<?xml version=\"1.0\"?><ntsc><time><year>2013</year><month>6</month><day>27</day>"
    "<hour>3</hour><minite>10</minite><second>5</second></time></ntsc>";

TEST(XmlPath, NumberedAndNamedSegments) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadBytes(kTimeReply.data(), kTimeReply.size()));
    EXPECT_EQ(PathText(document, u"@1/@1/year"), u"2013");
    EXPECT_EQ(PathText(document, u"@1/@1/minite"), u"10");
    EXPECT_EQ(PathText(document, u"@1/time/second"), u"5");
    EXPECT_EQ(PathText(document, u"ntsc/@1/@3"), u"27");
    EXPECT_EQ(PathText(document, u"@1/@1/@6"), u"5");
}

TEST(XmlPath, MissingElementsLeaveThePositionAlone) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadBytes(kTimeReply.data(), kTimeReply.size()));
    ASSERT_TRUE(MoveToPath(document, u"@1/@1/day"));
    for (const char16_t* path : {u"@1/@1/@7", u"@1/@2", u"@2", u"year", u"@1/@1/minute", u"@0", u"@1/@x",
                                 u"@1/", u"", u"@1/@1/year/@1"}) {
        EXPECT_FALSE(PathText(document, path).has_value()) << std::string(path, path + std::char_traits<char16_t>::length(path));
        EXPECT_EQ(document.ElementText(), u"27");
    }
}

// What a failed request hands back: 255 zero bytes are no document.
TEST(XmlPath, ZeroBytesAreNoDocument) {
    std::string zeros(255, '\0');
    XmlDocument document;
    EXPECT_FALSE(document.LoadBytes(zeros.data(), zeros.size()));
    EXPECT_FALSE(PathText(document, u"@1/@1/year").has_value());
}

}  // namespace
