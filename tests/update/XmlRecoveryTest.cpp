// How a malformed document is linked: unended elements become empty and their children their siblings.
#include "lib/xml/XmlDocument.h"
#include "tests/update/XmlTestText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace ElementFlags;

std::string NameOf(const XmlDocument& document, uint32_t index) {
    std::string name;
    for (uint32_t at = document.Elements()[index].start + 1;
         at < document.TextLength() && std::u16string(u" />").find(document.Text()[at]) == std::u16string::npos; ++at)
        name.push_back(char(document.Text()[at]));
    return name;
}

// The children of an element by their links, as "a b c"; also checks that each names the element as its
// parent, that the first child's previous link names the last child and that every other previous link
// names the element before it.
std::string Children(const XmlDocument& document, uint32_t parent) {
    const ElementTable& table = document.Elements();
    std::string names;
    uint32_t first = table[parent].firstChild, last = 0;
    for (uint32_t child = first; child != 0; last = child, child = table[child].next) {
        if (child != first && table[child].previous != last) return "broken previous link at " + NameOf(document, child);
        if (table[child].parent != parent) return "wrong parent at " + NameOf(document, child);
        names += (names.empty() ? "" : " ") + NameOf(document, child);
    }
    if (first != 0 && table[first].previous != last) return "first child does not name the last";
    return names;
}

uint32_t IndexOf(const XmlDocument& document, const std::string& name) {
    for (uint32_t i = 1; i < document.Elements().Count(); ++i) {
        if (NameOf(document, i) == name) return i;
    }
    return 0;
}

XmlDocument Parsed(const std::string& xml) {
    XmlDocument document;
    document.LoadBytes(xml.data(), xml.size());
    return document;
}

TEST(XmlRecovery, MismatchedEndTagUnendsTheInnerElement) {
    XmlDocument document = Parsed("<a><b></a>");
    const ElementTable& table = document.Elements();
    uint32_t a = IndexOf(document, "a"), b = IndexOf(document, "b");
    EXPECT_EQ(Children(document, a), "b");
    EXPECT_EQ(table[b].flags & kNotEnded, kNotEnded);
    EXPECT_EQ(table[b].length, 3u);
    EXPECT_EQ(table[b].EndTagLength(), 0u);
    EXPECT_EQ(table[a].length, 10u);
    EXPECT_EQ(table[a].EndTagLength(), 4u);
    EXPECT_EQ(table[0].flags & kIllFormed, kIllFormed);
    EXPECT_EQ(document.ElementText(b), u"");
}

// An element closed past an unended one has a child and so no text of its own, though only text and the
// unended start tag stand between its tags.
TEST(XmlRecovery, ClosedPastAnUnendedElementHasNoText) {
    XmlDocument document = Parsed("<r><a><b>t</a><c>u</c></r>");
    EXPECT_EQ(Children(document, IndexOf(document, "a")), "b");
    EXPECT_EQ(document.ElementText(IndexOf(document, "a")), u"");
    EXPECT_EQ(document.ElementText(IndexOf(document, "b")), u"");
    EXPECT_EQ(document.ElementText(IndexOf(document, "c")), u"u");

    document = Parsed("<r><a>x<b></a></r>");
    EXPECT_EQ(document.ElementText(IndexOf(document, "a")), u"");
}

TEST(XmlRecovery, FormerChildrenFollowAsSiblingsInOrder) {
    XmlDocument document = Parsed("<r><s><u><c1/><c2>t</c2><c3/></s><z/></r>");
    EXPECT_EQ(Children(document, IndexOf(document, "r")), "s z");
    EXPECT_EQ(Children(document, IndexOf(document, "s")), "u c1 c2 c3");
    EXPECT_EQ(Children(document, IndexOf(document, "u")), "");
    EXPECT_EQ(document.Elements()[IndexOf(document, "c1")].flags & kFirstChild, 0u);
    EXPECT_EQ(document.ElementText(IndexOf(document, "c2")), u"t");

    // The walk sees the same order.
    ASSERT_TRUE(document.FindSibling(u"r") && document.Descend() && document.FindSibling(u"s") && document.Descend());
    ASSERT_TRUE(document.FindSibling(u"u") && document.FindSibling(u"c2"));
    EXPECT_EQ(document.ElementText(), u"t");
    EXPECT_TRUE(document.FindSibling(u"c3"));
    EXPECT_FALSE(document.FindSibling(u"z"));
}

// At the end of the text the open elements are unended innermost first, each handing its children on.
TEST(XmlRecovery, UnendedAtTheEndMoveUpToTheTop) {
    XmlDocument document = Parsed("<r><u><c/>");
    EXPECT_EQ(Ascii(document.ParseResult()), "10 bytes to 10 wide chars, Root element has sibling");
    EXPECT_EQ(Children(document, 0), "r u c");

    document = Parsed("<r><e>1</e><u><c/>");
    EXPECT_EQ(Children(document, 0), "r e u c");
}

TEST(XmlRecovery, ErrorInsideMovesUpWithTheUnendedElement) {
    XmlDocument document = Parsed("<r><s><u><1></s></r>");
    const ElementTable& table = document.Elements();
    EXPECT_EQ(table[IndexOf(document, "u")].flags & kErrorInside, 0u);
    EXPECT_EQ(table[IndexOf(document, "s")].flags & kErrorInside, kErrorInside);
    EXPECT_EQ(table[IndexOf(document, "r")].flags & kErrorInside, 0u);

    document = Parsed("<r>x</b></r>");
    EXPECT_EQ(document.Elements()[IndexOf(document, "r")].flags & kErrorInside, kErrorInside);
    EXPECT_EQ(document.ElementText(IndexOf(document, "r")), u"x");
}

// Deeper than a hundred levels the end tags are matched the same way.
TEST(XmlRecovery, DeepNesting) {
    const int depth = 150;
    std::string xml;
    for (int i = 0; i < depth; ++i) xml += "<d>";
    const size_t z = xml.size();
    xml += "<z>";
    for (int i = 0; i < depth; ++i) xml += "<e>";
    const size_t lastE = xml.size() - 3, endZ = xml.size();
    xml += "</z></q>";
    for (int i = 0; i < depth; ++i) xml += "</D>";

    auto repeated = [](const std::string& name, int count) {
        std::string names = name;
        for (int i = 1; i < count; ++i) names += " " + name;
        return names;
    };
    // Case matters: no end tag closes a d, so all of them end up side by side at the top, z after them.
    XmlDocument exact = Parsed(xml);
    EXPECT_NE(Ascii(exact.ParseResult()).find(", Root element has sibling"), std::string::npos);
    EXPECT_EQ(Children(exact, 0), repeated("d", depth) + " z");

    XmlDocument document(XmlDocument::kIgnoreCase);
    document.LoadBytes(xml.data(), xml.size());
    EXPECT_EQ(Ascii(document.ParseResult()), std::to_string(xml.size()) + " bytes to " + std::to_string(xml.size()) +
                                                 " wide chars, End tag 'z' at offset " + std::to_string(endZ + 1) +
                                                 " does not match start tag 'e' at offset " + std::to_string(lastE));
    const ElementTable& table = document.Elements();
    uint32_t zIndex = IndexOf(document, "z");
    EXPECT_EQ(table[zIndex].start, z);
    EXPECT_EQ(table[zIndex].EndTagLength(), 4u);
    EXPECT_EQ(Children(document, zIndex), repeated("e", depth));
    EXPECT_EQ(table[1].length, xml.size());  // the outermost d is closed by the last end tag
    EXPECT_EQ(table[depth].EndTagLength(), 4u);
}

}  // namespace
