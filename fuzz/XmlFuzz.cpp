// Parses the input as an XML document and walks everything it found, the way the updater and the time
// page read documents, checking that the element links form one tree.
#include "lib/xml/Utf8Decode.h"
#include "lib/xml/XmlDocument.h"
#include "lib/xml/XmlPath.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Every record is reached exactly once through first-child and next links, names as its parent the record
// whose list it is in, and every list's previous links run backwards through it with the first child naming
// the last.
void CheckLinks(const XmlDocument& document) {
    const ElementTable& table = document.Elements();
    std::vector<bool> seen(table.Count(), false);
    std::vector<uint32_t> parents{0};
    uint32_t reached = 0;
    while (!parents.empty()) {
        uint32_t parent = parents.back();
        parents.pop_back();
        uint32_t first = table[parent].firstChild, last = 0;
        for (uint32_t child = first; child != 0; last = child, child = table[child].next) {
            Check(child < table.Count() && !seen[child]);
            seen[child] = true;
            ++reached;
            Check(child == first || table[child].previous == last);
            const ElementRecord& record = table[child];
            Check(record.parent == parent);
            Check(record.start + record.length <= document.TextLength());
            Check(record.StartTagLength() <= record.length);
            parents.push_back(child);
        }
        if (first != 0) Check(table[first].previous == last);
    }
    Check(reached + 1 == table.Count());
}

// Files are decoded in place, from the upper part of the text buffer: that must give what decoding from a
// separate buffer gives.
void CheckDecodingInPlace(const uint8_t* data, size_t size) {
    std::unique_ptr<char16_t[]> apart(new char16_t[size + 1]), inPlace(new char16_t[size + 1]);
    size_t units = DecodeUtf8Lenient(data, size, apart.get());
    uint8_t* bytes = reinterpret_cast<uint8_t*>(inPlace.get()) + size + 2;
    std::memcpy(bytes, data, size);
    Check(DecodeUtf8Lenient(bytes, size, inPlace.get()) == units);
    Check(std::memcmp(apart.get(), inPlace.get(), units * sizeof(char16_t)) == 0);
}

// Visits every element level by level with FindSibling and Descend, reading each one's text.
uint32_t WalkAll(XmlDocument& document) {
    uint32_t visited = 0;
    std::vector<XmlPosition> resume{XmlPosition{}};
    while (!resume.empty()) {
        document.SetPosition(resume.back());
        resume.pop_back();
        if (!document.FindSibling()) continue;
        ++visited;
        std::u16string text = document.ElementText();
        Check(text.size() <= document.TextLength());
        resume.push_back(document.Position());
        if (document.Descend()) resume.push_back(document.Position());
    }
    return visited;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckDecodingInPlace(data, size);
    XmlDocument document(size % 2 ? XmlDocument::kIgnoreCase : 0);
    document.LoadBytes(data, size);
    CheckLinks(document);
    Check(WalkAll(document) + 1 == document.Elements().Count());

    // Named moves as the manifests make them, with names taken from the document itself.
    document.SetPosition({});
    if (document.FindSibling() && document.Descend()) {
        for (const char16_t* name : {u"name", u"md5", u"folder", u"Date", u"a b", u""}) document.FindSibling(name);
        for (uint32_t i = 1; i < document.Elements().Count() && i < 16; ++i) {
            const char16_t* text = document.Text() + document.Elements()[i].start + 1;
            size_t length = 0;
            while (length < 8 && text + length < document.Text() + document.TextLength()) ++length;
            document.FindSibling(std::u16string_view(text, length));
            document.ElementText();
        }
    }
    for (const char16_t* path : {u"@1/@1/year", u"@1/@2/@3", u"@1/name", u"@2"}) PathText(document, path);
    return 0;
}
