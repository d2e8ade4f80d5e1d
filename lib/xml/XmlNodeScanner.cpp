#include "lib/xml/XmlNodeScanner.h"

#include "lib/xml/XmlText.h"

#include <string_view>

namespace {

// Offset of the first c at or after from, or limit.
uint32_t Find(const char16_t* text, uint32_t limit, uint32_t from, char16_t c) {
    return FindEither(text, from, limit, c, c);
}

// Offset just past the first occurrence of marker at or after from, or limit + 1 when there is none.
uint32_t PastMarker(const char16_t* text, uint32_t limit, uint32_t from, std::u16string_view marker) {
    const uint32_t length = uint32_t(marker.size());
    for (uint32_t p = from; (p = Find(text, limit, p, marker[0])) + length <= limit; ++p) {
        if (std::u16string_view(text + p, length) == marker) return p + length;
    }
    return limit + 1;
}

// A declaration (<!ELEMENT ...>): ends at the first '>' outside a quoted part; a quote of either kind opens
// one wherever it stands. Gives the offset past the '>', or limit + 1.
uint32_t PastDeclaration(const char16_t* text, uint32_t limit, uint32_t from) {
    for (uint32_t p = from; p < limit; ++p) {
        char16_t c = text[p];
        if (c == u'>') return p + 1;
        if (c == u'"' || c == u'\'') {
            p = Find(text, limit, p + 1, c);
            if (p == limit) break;
        }
    }
    return limit + 1;
}

// A document type declaration: ends at a '>' outside markup; a '<' inside it starts a comment or a nested
// declaration, so an internal subset in brackets is passed over whole.
uint32_t PastDoctype(const char16_t* text, uint32_t limit, uint32_t from) {
    for (uint32_t p = from; p < limit;) {
        char16_t c = text[p];
        if (c == u'>') return p + 1;
        if (c != u'<') {
            ++p;
        } else if (p + 3 < limit && text[p + 1] == u'!' && text[p + 2] == u'-' && text[p + 3] == u'-') {
            p = PastMarker(text, limit, p + 4, u"-->");
        } else {
            p = PastDeclaration(text, limit, p + 1);
        }
    }
    return limit + 1;
}

void Finish(XmlNode& node, uint32_t past, uint32_t limit, const char* construct) {
    if (past > limit) {
        node.kind = XmlNodeKind::Error;
        node.end = limit;
        node.what = construct;
        node.unterminated = true;
    } else {
        node.end = past;
    }
}

// An error node runs to the next '>' (included) or stops before the next '<'.
void Incorrect(XmlNode& node, const char16_t* text, uint32_t limit, const char* what) {
    node.kind = XmlNodeKind::Error;
    node.what = what;
    uint32_t p = node.start + 1;
    while (p < limit && text[p] != u'>' && text[p] != u'<') ++p;
    node.end = (p < limit && text[p] == u'>') ? p + 1 : p;
}

inline bool EndsName(char16_t c) { return InLowSet(c, LowSet(">/ \t\n\r")); }

// Offset of the first character at or after from that ends a tag name, or limit. Blocks of eight are
// searched for the candidates '>', '/' and anything up to ' ', of which only white space ends the name.
uint32_t NameEnd(const char16_t* text, uint32_t limit, uint32_t from) {
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi16(u' '), greater = _mm_set1_epi16(u'>'), slash = _mm_set1_epi16(u'/');
    while (from + 8 <= limit) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
        __m128i upToSpace = _mm_cmpeq_epi16(_mm_subs_epu16(block, space), _mm_setzero_si128());
        int found = _mm_movemask_epi8(
            _mm_or_si128(upToSpace, _mm_or_si128(_mm_cmpeq_epi16(block, greater), _mm_cmpeq_epi16(block, slash))));
        if (!found) {
            from += 8;
            continue;
        }
        from += uint32_t(__builtin_ctz(unsigned(found))) / 2;
        if (EndsName(text[from])) return from;
        ++from;
    }
#endif
    while (from < limit && !EndsName(text[from])) ++from;
    return from;
}

void ScanBang(XmlNode& node, const char16_t* text, uint32_t limit) {
    uint32_t at = node.start;
    if (at + 2 >= limit) return Finish(node, limit + 1, limit, "tag");
    switch (text[at + 2]) {
    case u'-':
        if (at + 3 >= limit) return Finish(node, limit + 1, limit, "tag");
        if (text[at + 3] != u'-') return Incorrect(node, text, limit, "comment tag");
        node.kind = XmlNodeKind::Comment;
        return Finish(node, PastMarker(text, limit, at + 4, u"-->"), limit, "Comment");
    case u'[':
        if (at + 3 >= limit) return Finish(node, limit + 1, limit, "tag");
        if (text[at + 3] != u'C') return Incorrect(node, text, limit, "tag");
        node.kind = XmlNodeKind::CData;
        return Finish(node, PastMarker(text, limit, at + 3, u"]]>"), limit, "CDATA Section");
    case u'D':
        node.kind = XmlNodeKind::Doctype;
        return Finish(node, PastDoctype(text, limit, at + 2), limit, "Doctype");
    case u'E':
    case u'A':
    case u'N':
        node.kind = XmlNodeKind::Declaration;
        return Finish(node, PastDeclaration(text, limit, at + 2), limit, "Doctype");
    default:
        return Incorrect(node, text, limit, "! tag");
    }
}

}  // namespace

XmlNode ScanStartTag(const char16_t* text, uint32_t limit, uint32_t at) {
    XmlNode node;
    node.start = at;
    const uint32_t nameEnd = NameEnd(text, limit, node.start + 1);
    node.kind = XmlNodeKind::StartTag;
    node.nameLength = nameEnd - node.start - 1;
    if (nameEnd < limit && text[nameEnd] == u'>') {  // no attributes, not empty
        node.end = nameEnd + 1;
        return node;
    }

    // A quote opens a value only after '=' (white space may stand between); anywhere else it is an
    // ordinary character, and so is an unquoted value.
    uint32_t closingQuote = 0;  // offset of the quote that closed the last quoted value
    for (uint32_t p = nameEnd; (p = FindEither(text, p, limit, u'>', u'=')) < limit;) {
        if (text[p] == u'>') {
            // Empty only when the '/' follows the name, a closing quote or white space: a '/' ending an
            // unquoted value belongs to the value.
            uint32_t slash = p - 1;
            node.emptyElement = text[slash] == u'/' &&
                                (slash == nameEnd || (closingQuote != 0 && slash == closingQuote + 1) ||
                                 IsXmlSpace(text[slash - 1]));
            node.end = p + 1;
            return node;
        }
        ++p;
        while (p < limit && IsXmlSpace(text[p])) ++p;
        if (p < limit && (text[p] == u'"' || text[p] == u'\'')) {
            p = Find(text, limit, p + 1, text[p]);
            if (p == limit) break;
            closingQuote = p++;
        }
    }
    Finish(node, limit + 1, limit, "Element tag");
    return node;
}

XmlNode ScanEndTag(const char16_t* text, uint32_t limit, uint32_t at) {
    XmlNode node;
    node.start = at;
    const uint32_t nameEnd = NameEnd(text, limit, node.start + 2);
    node.kind = XmlNodeKind::EndTag;
    node.nameLength = nameEnd - node.start - 2;
    uint32_t close = (nameEnd < limit && text[nameEnd] == u'>') ? nameEnd : Find(text, limit, nameEnd, u'>');
    Finish(node, close == limit ? limit + 1 : close + 1, limit, "Element end tag");
    return node;
}

XmlNode ScanOtherNode(const char16_t* text, uint32_t limit, uint32_t at) {
    XmlNode node;
    node.start = at;
    if (at >= limit) {
        node.end = limit;
        return node;
    }

    if (text[at] != u'<') {
        // White space when the run reaches '<' or the end with nothing else in it; otherwise text, which
        // also ends at a '>' (taken into it).
        uint32_t p = at;
        while (p < limit && IsXmlSpace(text[p])) ++p;
        node.kind = XmlNodeKind::Whitespace;
        if (p < limit && text[p] != u'<') {
            node.kind = XmlNodeKind::Text;
            p = FindEither(text, p, limit, u'<', u'>');
            if (p < limit && text[p] == u'>') ++p;
        }
        node.end = p;
        return node;
    }

    if (at + 1 >= limit) {
        Finish(node, limit + 1, limit, "tag");
    } else if (text[at + 1] == u'!') {
        ScanBang(node, text, limit);
    } else if (text[at + 1] == u'?') {
        node.kind = XmlNodeKind::ProcessingInstruction;
        Finish(node, PastMarker(text, limit, at + 2, u"?>"), limit, "Processing instruction");
    } else {
        Incorrect(node, text, limit, "tag name character");
    }
    return node;
}
