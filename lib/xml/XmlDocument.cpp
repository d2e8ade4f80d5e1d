#include "lib/xml/XmlDocument.h"

#include "lib/xml/Utf8Decode.h"
#include "lib/xml/XmlEntities.h"
#include "lib/xml/XmlNodeScanner.h"
#include "lib/xml/XmlText.h"

#include <cerrno>
#include <new>

XmlDocument::XmlDocument(uint32_t flags) : flags_(flags) { elements_.Reset(1); }

bool XmlDocument::LoadBytes(const void* bytes, size_t count) {
    if (!AllocateText(count)) return false;
    return DecodeAndParse(static_cast<const uint8_t*>(bytes), count);
}

bool XmlDocument::AllocateText(size_t count) {
    // Offsets are 32-bit; a document near that size could not be held on the target anyway.
    char16_t* text = count <= 0x7FFFFFFF ? new (std::nothrow) char16_t[count + 1] : nullptr;
    if (!text) {
        parseResult_ = ErrorNumberText(ENOMEM);
        return false;
    }
    text_.reset(text);
    textLength_ = 0;
    return true;
}

bool XmlDocument::DecodeAndParse(const uint8_t* bytes, size_t count) {
    try {
        textLength_ = uint32_t(DecodeUtf8Lenient(bytes, count, text_.get()));
        text_[textLength_] = 0;
        parseResult_.clear();
        AppendAscii(parseResult_, std::to_string(count) + " bytes to " + std::to_string(textLength_) +
                                      " wide chars");
        Parse();
    } catch (const std::bad_alloc&) {
        textLength_ = 0;
        elements_.Reset(1);
        position_ = {};
        parseResult_ = ErrorNumberText(ENOMEM);
        return false;
    }
    return IsWellFormed();
}

bool XmlDocument::IsWellFormed() const {
    const ElementRecord& document = elements_[0];
    return !(document.flags & ElementFlags::kIllFormed) && document.firstChild != 0 &&
           elements_[document.firstChild].next == 0;
}

void XmlDocument::SetPosition(XmlPosition position) {
    uint32_t count = elements_.Count();
    position_.parent = position.parent < count ? position.parent : 0;
    position_.element = position.element < count ? position.element : 0;
}

namespace {

inline bool EndsTagName(char16_t c) { return InLowSet(c, LowSet(" \t\n\r<>=/?!")) || c == u'\\'; }

inline bool MayFollowName(char16_t c) { return c == u' ' || c == u'=' || c == u'/' || c == u'[' || c == u']'; }

// The tag name at tag (room characters left in the text) runs to the first character that ends it, the
// first one excepted. The requested name matches when it starts with the tag name and ends there or goes
// on with a separator.
inline bool TagNameMatches(const char16_t* tag, size_t room, std::u16string_view name, bool ignoreCase) {
    const size_t size = name.size();
    auto same = [ignoreCase](char16_t a, char16_t b) { return a == b || (ignoreCase && FoldCase(a) == FoldCase(b)); };
    if (room == 0) return size == 0 || MayFollowName(name[0]);
    if (size == 0 || !same(tag[0], name[0])) return false;
    const size_t common = room < size ? room : size;
    size_t i = 1;
    for (; i < common; ++i) {
        if (EndsTagName(tag[i])) return MayFollowName(name[i]);
        if (!same(tag[i], name[i])) return false;
    }
    if (i == room) return i == size || MayFollowName(name[i]);
    return EndsTagName(tag[i]);  // the whole name matched: the tag name must end there
}

}  // namespace

bool XmlDocument::FindSibling(std::u16string_view name) {
    uint32_t candidate = position_.element ? elements_[position_.element].next
                                           : elements_[position_.parent].firstChild;
    for (; candidate != 0; candidate = elements_[candidate].next) {
        const uint32_t at = elements_[candidate].start + 1;
        if (name.empty() || TagNameMatches(text_.get() + at, textLength_ - at, name, flags_ & kIgnoreCase)) {
            position_.element = candidate;
            return true;
        }
    }
    return false;
}

bool XmlDocument::Descend() {
    if (position_.element == 0) return false;
    position_.parent = position_.element;
    position_.element = 0;
    return true;
}

namespace {

// The text of an element that has no child elements and is not plain text (see ElementText).
std::u16string ContentText(const char16_t* text, uint32_t textLength, const ElementRecord& element) {
    std::u16string result;
    // A start tag too long for its field kept only the low bits of its length: it is read again.
    uint32_t startTagLength = element.StartTagLength();
    if (element.length > ElementRecord::kMaxStartTagLength)
        startTagLength = ScanNode(text, textLength, element.start).end - element.start;
    if (startTagLength >= element.length) return result;  // empty or unended

    // An end tag too long for its field leaves part of itself in the content, where it adds no text.
    uint32_t begin = element.start + startTagLength;
    uint32_t end = element.start + element.length - element.EndTagLength();
    if (end > textLength) end = textLength;
    if (begin >= end) return result;

    uint32_t lessThan = FindEither(text, begin, end, u'<', u'&');
    const bool ampersand = lessThan < end && text[lessThan] == u'&';
    if (ampersand) lessThan = FindEither(text, lessThan, end, u'<', u'<');
    if (lessThan == end) {
        if (!ampersand) return std::u16string(text + begin, text + end);
        AppendDecodedEntities(text + begin, text + end, result);
        return result;
    }
    // Mixed content: the text pieces and CDATA sections, in order.
    for (uint32_t at = begin; at < end;) {
        XmlNode node = ScanNode(text, end, at);
        if (node.kind == XmlNodeKind::Text) {
            AppendDecodedEntities(text + node.start, text + node.end, result);
        } else if (node.kind == XmlNodeKind::CData) {
            const uint32_t opening = 9, closing = 3;  // <![CDATA[ and ]]>
            if (node.start + opening < node.end - closing)
                result.append(text + node.start + opening, text + node.end - closing);
        }
        at = node.end;
    }
    return result;
}

}  // namespace

std::u16string XmlDocument::ElementText(uint32_t index) const {
    if (index == 0 || index >= elements_.Count()) return {};
    const ElementRecord& element = elements_[index];
    // Plain text lies between the tags, whose lengths fit their fields.
    if (element.flags & ElementFlags::kPlainText) {
        const uint32_t startTag = element.StartTagLength();
        return std::u16string(text_.get() + element.start + startTag,
                              element.length - startTag - element.EndTagLength());
    }
    if (element.firstChild != 0) return {};
    return ContentText(text_.get(), textLength_, element);
}
