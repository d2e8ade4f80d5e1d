#include "lib/xml/XmlDocument.h"
#include "tests/update/XmlTestText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Result(const XmlDocument& document) { return Ascii(document.ParseResult()); }

// The error part of the result, after the load figures.
std::string Error(const XmlDocument& document) {
    std::string result = Result(document);
    size_t comma = result.find(", ");
    return comma == std::string::npos ? "" : result.substr(comma + 2);
}

bool Load(XmlDocument& document, const std::string& bytes) { return document.LoadBytes(bytes.data(), bytes.size()); }

// The text of the first element named name inside the root.
std::string ChildText(const std::string& bytes, const char16_t* name) {
    XmlDocument document;
    Load(document, bytes);
    if (!document.FindSibling() || !document.Descend() || !document.FindSibling(name)) return "(none)";
    return Ascii(document.ElementText());
}

TEST(XmlDocumentParse, ByteOrderMarkAndInvalidBytes) {
    XmlDocument document;
    EXPECT_TRUE(Load(document, "\xEF\xBB\xBF<a>x</a>"));
    EXPECT_EQ(Result(document), "11 bytes to 9 wide chars");
    ASSERT_TRUE(document.FindSibling(u"a"));
    EXPECT_EQ(document.ElementText(), u"x");

    EXPECT_EQ(ChildText("<r><n>\xFF</n></r>", u"n"), "?");
    // Nothing after a zero byte is read: the second root is not there.
    EXPECT_TRUE(Load(document, std::string("<a/>\0<b/>", 9)));
    EXPECT_EQ(Result(document), "9 bytes to 4 wide chars");
}

TEST(XmlDocumentParse, TwoRootsAreBothReachable) {
    XmlDocument document;
    EXPECT_FALSE(Load(document, "<a/><b>2</b>"));
    EXPECT_EQ(Error(document), "Root element has sibling");
    ASSERT_TRUE(document.FindSibling());
    EXPECT_EQ(document.Elements()[document.Position().element].start, 0u);
    ASSERT_TRUE(document.FindSibling());
    EXPECT_EQ(document.ElementText(), u"2");
    EXPECT_FALSE(document.FindSibling());
    EXPECT_EQ(document.ElementText(), u"2");  // a failed move stays put
}

TEST(XmlDocumentParse, ErrorTextsNameTheFirstFault) {
    struct Case {
        const char* xml;
        const char* error;
    } cases[] = {
        {"<a>x</b></a>", "No start tag for end tag 'b' at offset 4"},
        {"<a><b></a>", "End tag 'a' at offset 7 does not match start tag 'b' at offset 3"},
        {"<a><b><c></a>", "End tag 'a' at offset 10 does not match start tag 'c' at offset 6"},
        {"<a><1/></a>", "Incorrect tag name character at offset 3"},
        {"<a><-x></a>", "Incorrect tag name character at offset 3"},
        {"<a><!x></a>", "Incorrect ! tag at offset 3"},
        {"<a><!-x></a>", "Incorrect comment tag at offset 3"},
        {"<a><![x></a>", "Incorrect tag at offset 3"},
        {"<a><!-- x", "Comment at offset 3 unterminated"},
        {"<a><![CDATA[x]]", "CDATA Section at offset 3 unterminated"},
        {"<a><?pi ?", "Processing instruction at offset 3 unterminated"},
        {"<a><b c='>", "Element tag at offset 3 unterminated"},
        {"<a></a", "Element end tag at offset 3 unterminated"},
        {"<a><", "tag at offset 3 unterminated"},
        {"<a><!", "tag at offset 3 unterminated"},
        {"<a/><!DOCTYPE a [<!ENTITY e 'x'>", "Doctype at offset 4 unterminated"},
        {"<a><!ENTITY e '>", "Doctype at offset 3 unterminated"},
        {"<a>", "Element 'a' at offset 0 not ended"},
        {"text only", "No root element"},
        {"<a><1></a><b/>", "Root element has sibling"},  // replaces the error met on the way
    };
    for (const Case& c : cases) {
        XmlDocument document;
        EXPECT_FALSE(Load(document, c.xml)) << c.xml;
        EXPECT_EQ(Error(document), c.error) << c.xml;
    }
}

TEST(XmlDocumentParse, MarkupThatIsPassedOver) {
    const char* wellFormed[] = {
        "<?xml version=\"1.0\"?>\n<!-- head -->\n<r/>\n",
        "<!DOCTYPE r [\n<!ENTITY e 'a>b'>\n<!-- > -->\n<!ATTLIST r x CDATA \"]>\">\n]>\n<r/>",
        "<r a='>' b=\"/>\" c = '\"'/>",
        "<r><a x='1'/><b /><c/></r>",
    };
    for (const char* xml : wellFormed) {
        XmlDocument document;
        EXPECT_TRUE(Load(document, xml)) << xml;
        EXPECT_EQ(Error(document), "") << xml;
    }
    // A "/" ending an unquoted value does not make the tag empty, and a quote that does not follow "=" is
    // an ordinary character.
    EXPECT_EQ(ChildText("<r><a x=1/>t</a></r>", u"a"), "t");
    EXPECT_EQ(ChildText("<r><a x'y>t</a></r>", u"a"), "t");
}

TEST(XmlDocumentText, EntitiesAreDecoded) {
    EXPECT_EQ(ChildText("<r><e>a&amp;b&#65;&#x42;&#0;</e></r>", u"e"), "a&bAB&#0;");
    EXPECT_EQ(ChildText("<r><e>&lt;&gt;&apos;&quot;&amp;amp;</e></r>", u"e"), "<>'\"&amp;");
    // Not references: upper-case X, the ';' out of reach, a name cut by the end, an unknown name.
    EXPECT_EQ(ChildText("<r><e>&#X41;&#12345678;&#0000066;&lt</e></r>", u"e"), "&#X41;&#12345678;B&lt");
    EXPECT_EQ(ChildText("<r><e>&nbsp;&#;&#x;&</e></r>", u"e"), "&nbsp;&#;&#x;&");
    EXPECT_EQ(ChildText("<r><e>&#65601;</e></r>", u"e"), "A");  // cut to 16 bits
}

TEST(XmlDocumentText, MixedContent) {
    EXPECT_EQ(ChildText("<r><e><![CDATA[<]]> y</e></r>", u"e"), "< y");
    EXPECT_EQ(ChildText("<r><e>one<!-- c -->two</e></r>", u"e"), "onetwo");
    EXPECT_EQ(ChildText("<r><e>a<?pi?> <![CDATA[&amp;]]>&amp;</e></r>", u"e"), "a&amp;&");
    EXPECT_EQ(ChildText("<r><e>  a > b  </e></r>", u"e"), "  a > b  ");
    EXPECT_EQ(ChildText("<r><e>\n  </e></r>", u"e"), "\n  ");
    EXPECT_EQ(ChildText("<r><e>x<c/>y</e></r>", u"e"), "");  // has a child element
    EXPECT_EQ(ChildText("<r><e/></r>", u"e"), "");
}

// Start tags longer than their length field holds (about four million characters of attributes) and end
// tags longer than theirs still give the element's own text.
TEST(XmlDocumentText, TagsLongerThanTheirFields) {
    const std::string value(ElementRecord::kMaxStartTagLength + 5, 'v');
    const std::string xml = "<r><e a=\"" + value + "\">t</e><f a=\"" + value + "\"/><g>u</g" +
                            std::string(ElementRecord::kMaxEndTagLength + 2, ' ') + "></r>";
    EXPECT_EQ(ChildText(xml, u"e"), "t");
    EXPECT_EQ(ChildText(xml, u"f"), "");
    EXPECT_EQ(ChildText(xml, u"g"), "u");
}

TEST(XmlDocumentNavigation, NamesMatchWholeAndByCase) {
    const std::string xml = "<r><md5x>1</md5x><date>2</date><md5>3</md5><Date>4</Date></r>";
    EXPECT_EQ(ChildText(xml, u"md5"), "3");
    EXPECT_EQ(ChildText(xml, u"Date"), "4");
    EXPECT_EQ(ChildText(xml, u"md5 x"), "3");  // the requested name may go on after a separator
    EXPECT_EQ(ChildText(xml, u"md"), "(none)");

    XmlDocument ignoringCase(XmlDocument::kIgnoreCase);
    EXPECT_TRUE(Load(ignoringCase, "<R><Date>2</DATE></r>"));
    ASSERT_TRUE(ignoringCase.FindSibling(u"r") && ignoringCase.Descend() && ignoringCase.FindSibling(u"DATE"));
    EXPECT_EQ(ignoringCase.ElementText(), u"2");

    XmlDocument exact;
    EXPECT_FALSE(Load(exact, "<R><Date>2</DATE></r>"));
}

TEST(XmlDocumentNavigation, DescendNeedsACurrentElement) {
    XmlDocument document;
    Load(document, "<r><a><b>1</b></a><a><b>2</b></a></r>");
    EXPECT_FALSE(document.Descend());
    ASSERT_TRUE(document.FindSibling() && document.Descend());
    EXPECT_FALSE(document.Descend());
    ASSERT_TRUE(document.FindSibling(u"a") && document.FindSibling(u"a") && document.Descend());
    ASSERT_TRUE(document.FindSibling(u"b"));
    EXPECT_EQ(document.ElementText(), u"2");
    EXPECT_FALSE(document.FindSibling(u"b"));
}

// More records than fit the first room and the first page: the table grows by its rule and every record is
// found, in order.
TEST(XmlDocumentTable, GrowsAcrossPages) {
    std::string xml = "<r>";
    const int count = 70000;
    for (int i = 0; i < count; ++i) xml += "<e>" + std::to_string(i) + "</e>";
    xml += "</r>";
    XmlDocument document;
    ASSERT_TRUE(Load(document, xml));
    EXPECT_EQ(document.Elements().Count(), uint32_t(count + 2));
    // Room for a record per 64 characters and 8 more, then half as much again each time it is full.
    uint32_t room = uint32_t(xml.size()) / 64 + 8;
    while (room < uint32_t(count + 2)) room += room / 2;
    EXPECT_EQ(document.Elements().Capacity(), room);
    ASSERT_TRUE(document.FindSibling() && document.Descend());
    int found = 0;
    while (document.FindSibling(u"e")) {
        if (document.ElementText() != U16(std::to_string(found))) break;
        ++found;
    }
    EXPECT_EQ(found, count);
}

}  // namespace
