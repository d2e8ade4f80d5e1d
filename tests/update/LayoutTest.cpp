// Layout files: items in order with their properties, and the number forms controls are placed by.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/Layout.h"

namespace {
std::vector<LayoutItem> Parse(const char* xml) { return ParseLayout(xml, std::strlen(xml)); }

TEST(Layout, ItemsKeepDocumentOrderKindsAndProperties) {
    const auto items = Parse(
        "<?xml version=\"1.0\"?>\n<layout>\n"
        "  <window><title>更新 &amp; 升级</title><size>440, 330</size></window>\n"
        "  <!-- a comment -->\n"
        "  <button><id>ok</id><rect>1,2,3,4</rect><text/></button>\n"
        "  <label><id>x</id></label>\n</layout>");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].kind, u"window");
    EXPECT_EQ(*items[0].Find(u"title"), u"更新 & 升级");
    EXPECT_EQ(items[1].kind, u"button");
    ASSERT_NE(items[1].Find(u"text"), nullptr);
    EXPECT_EQ(*items[1].Find(u"text"), u"");
    EXPECT_EQ(items[1].Find(u"image"), nullptr);
    EXPECT_EQ(items[2].kind, u"label");
    LayoutRect size;
    ASSERT_TRUE(ParseSize(*items[0].Find(u"size"), &size));
    EXPECT_EQ(size.width, 440);
    EXPECT_EQ(size.height, 330);
}

TEST(Layout, BrokenDocumentsGiveWhatWasFoundOrNothing) {
    EXPECT_TRUE(Parse("").empty());
    EXPECT_TRUE(Parse("not xml at all").empty());
    EXPECT_TRUE(Parse("<layout/>").empty());
    EXPECT_LE(Parse("<layout><window><size>1,1</size></window><label><id>a</id>").size(), 2u);
    EXPECT_LE(Parse("<layout><window><size>1,1</size></window></oops><label/></layout>").size(), 2u);
}

TEST(Layout, NumbersRectanglesAndColoursAreReadStrictly) {
    LayoutRect r;
    EXPECT_TRUE(ParseRect(u" 10 ,20,30, 40 ", &r));
    EXPECT_EQ(r.x + r.y + r.width + r.height, 100);
    for (const char16_t* bad : {u"", u"1,2,3", u"1,2,3,4,5", u"1,2,-3,4", u"1,2,3,x", u"1,,3,4", u"1,2,3,10001",
                                u"1,2,3,99999999999"})
        EXPECT_FALSE(ParseRect(bad, &r)) << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
    uint32_t rgb = 0;
    EXPECT_TRUE(ParseColor(u"#FFae01", &rgb));
    EXPECT_EQ(rgb, 0xffae01u);
    for (const char16_t* bad : {u"ffae01", u"#ffae0", u"#ffae011", u"#ggae01"}) EXPECT_FALSE(ParseColor(bad, &rgb));
    int n = 0;
    EXPECT_TRUE(ParseNumber(u"10000", &n));
    EXPECT_FALSE(ParseNumber(u"10001", &n));
    EXPECT_FALSE(ParseNumber(u"+1", &n));
}
}  // namespace
