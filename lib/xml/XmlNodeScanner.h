// Splits XML text into nodes: each call reads the node that starts at a given offset.
#pragma once
#include <cstdint>

enum class XmlNodeKind : uint8_t {
    End,             // no text left
    StartTag,
    EndTag,
    Text,
    Whitespace,
    CData,
    ProcessingInstruction,
    Comment,
    Doctype,
    Declaration,     // <!ELEMENT, <!ATTLIST, <!NOTATION... outside a doctype
    Error,
};

struct XmlNode {
    XmlNodeKind kind = XmlNodeKind::End;
    uint32_t start = 0;       // offset of the node's first character
    uint32_t end = 0;         // offset just past the node
    uint32_t nameLength = 0;  // tags: the name starts at start + 1 (start tag) or start + 2 (end tag)
    bool emptyElement = false;
    // Error nodes: the construct's wording; the message is "Incorrect <what> at offset <start>", or
    // "<what> at offset <start> unterminated" when the text ended inside the construct.
    const char* what = nullptr;
    bool unterminated = false;
};

inline bool IsXmlSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

inline bool StartsName(char16_t c) { return c == u':' || c == u'_' || (c >= u'A' && c <= u'Z') || c > u'`'; }

// The readers of each kind of node, for ScanNode: tags (at a '<' followed by a name character or '/'), and
// everything else.
XmlNode ScanStartTag(const char16_t* text, uint32_t limit, uint32_t at);
XmlNode ScanEndTag(const char16_t* text, uint32_t limit, uint32_t at);
XmlNode ScanOtherNode(const char16_t* text, uint32_t limit, uint32_t at);

// Reads the node at offset at of text[0, limit). Never reads at or past limit.
inline XmlNode ScanNode(const char16_t* text, uint32_t limit, uint32_t at) {
    if (at + 1 < limit && text[at] == u'<') {
        if (StartsName(text[at + 1])) return ScanStartTag(text, limit, at);
        if (text[at + 1] == u'/') return ScanEndTag(text, limit, at);
    }
    return ScanOtherNode(text, limit, at);
}
