// The XML reader's file loading: through the Windows file names, decoded like the same bytes from memory.
#include "lib/xml/XmlDocument.h"
#include "tests/update/XmlTestText.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Result(const XmlDocument& document) { return Ascii(document.ParseResult()); }

bool Load(XmlDocument& document, const std::string& bytes) { return document.LoadBytes(bytes.data(), bytes.size()); }

TEST(XmlDocumentFile, EmptyFileMissingFileAndWidePath) {
    TempFolder folder;
    XmlDocument document;
    ASSERT_TRUE(WriteFileBytes(folder / L"empty.xml", ""));
    EXPECT_FALSE(document.LoadFile((folder / L"empty.xml").c_str()));
    EXPECT_EQ(Result(document), "0 bytes to 0 wide chars, Empty document");
    EXPECT_FALSE(document.FindSibling());

    ASSERT_TRUE(WriteFileBytes(folder / L"\u66F4\u65B0.xml", "<files><name>\xE4\xB8\xAD.dll</name></files>"));
    EXPECT_TRUE(document.LoadFile((folder / L"\u66F4\u65B0.xml").c_str()));
    EXPECT_EQ(Result(document), "35 bytes to 33 wide chars");

    // A file that cannot be opened leaves the document as it was.
    EXPECT_FALSE(document.LoadFile((folder / L"missing.xml").c_str()));
    EXPECT_EQ(Result(document), "No such file or directory");
    ASSERT_TRUE(document.FindSibling() && document.Descend() && document.FindSibling(u"name"));
    EXPECT_EQ(document.ElementText(), u"\u4E2D.dll");
}

// Files are decoded in place inside the text buffer; the result must equal decoding from memory.
TEST(XmlDocumentFile, FileLoadsLikeBytes) {
    std::string xml = "<r>";
    for (int i = 0; i < 500; ++i)
        xml += "<n>plain ascii " + std::to_string(i) + " \xE4\xB8\xAD\xF0\x9F\x98\x80\xFF\xC3</n>";
    xml += "</r>\xE4\xB8";
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"mixed.xml", xml));
    XmlDocument fromFile, fromBytes;
    fromFile.LoadFile((folder / L"mixed.xml").c_str());
    Load(fromBytes, xml);
    EXPECT_EQ(fromFile.ParseResult(), fromBytes.ParseResult());
    ASSERT_EQ(fromFile.TextLength(), fromBytes.TextLength());
    EXPECT_EQ(std::u16string(fromFile.Text(), fromFile.TextLength()),
              std::u16string(fromBytes.Text(), fromBytes.TextLength()));
}

}  // namespace
