// The updater's XML reader. It loads a UTF-8 document into one UTF-16 text, parses it once into a flat table
// of element positions (names and values stay in the text and are read on demand), and walks the elements
// level by level. It is lenient: a malformed document still yields the elements found, and ParseResult()
// tells in one line what went wrong.
#pragma once
#include "lib/xml/ElementTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#ifdef _WIN32
using XmlPathChar = wchar_t;
#else
using XmlPathChar = char;
#endif

// Where a walk stands: the element whose children are walked, and the current one among them (0 = none yet).
struct XmlPosition {
    uint32_t parent = 0;
    uint32_t element = 0;
};

class XmlDocument {
public:
    static constexpr uint32_t kIgnoreCase = 8;  // document flag: tag names match regardless of case

    explicit XmlDocument(uint32_t flags = 0);

    // Reads, decodes and parses a file. Returns whether the document is well formed; whatever was found is
    // readable either way. When the file cannot be read the document stays as it was.
    bool LoadFile(const XmlPathChar* path);
    // The same over bytes already in memory.
    bool LoadBytes(const void* bytes, size_t count);
    const std::u16string& ParseResult() const { return parseResult_; }

    // Moves to the next sibling after the current element (or to the first child of the current parent when
    // there is no current element) whose tag name is name; an empty name takes any next sibling. On failure
    // the position does not change.
    bool FindSibling(std::u16string_view name = {});
    // Makes the current element the parent, so the next FindSibling starts at its first child.
    bool Descend();
    // The text of the current element: entities decoded, CDATA taken as it stands, comments left out;
    // empty for an element with child elements.
    std::u16string ElementText() const { return ElementText(position_.element); }
    std::u16string ElementText(uint32_t index) const;

    XmlPosition Position() const { return position_; }
    void SetPosition(XmlPosition position);

    // The element table, for walks that need more than the level-by-level interface.
    const ElementTable& Elements() const { return elements_; }
    const char16_t* Text() const { return text_.get(); }
    uint32_t TextLength() const { return textLength_; }

private:
    // A text buffer of count + 1 units, for decoding count bytes.
    bool AllocateText(size_t count);
    bool DecodeAndParse(const uint8_t* bytes, size_t count);
    void Parse();
    bool IsWellFormed() const;

    uint32_t flags_;
    std::unique_ptr<char16_t[]> text_;
    uint32_t textLength_ = 0;
    std::u16string parseResult_;
    ElementTable elements_;
    XmlPosition position_;
};
