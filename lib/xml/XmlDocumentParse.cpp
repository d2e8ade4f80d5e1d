// One pass over the text builds the element table: start tags take records and link them into the tree,
// end tags close the open element they name, and what is left open at a mismatch or at the end of the text
// is unended (turned into an empty element whose children become its following siblings).
#include "lib/xml/XmlDocument.h"

#include "lib/xml/OpenElementStack.h"
#include "lib/xml/XmlNodeScanner.h"
#include "lib/xml/XmlText.h"

namespace {

using namespace ElementFlags;

// The message texts take names from the document and offsets as decimal numbers.
class ErrorText {
public:
    explicit ErrorText(const char16_t* text) : text_(text) {}
    bool Empty() const { return message_.empty(); }
    const std::u16string& Message() const { return message_; }
    void Replace(std::string_view message) {
        message_.clear();
        AppendAscii(message_, message);
    }

    ErrorText& Ascii(std::string_view ascii) {
        AppendAscii(message_, ascii);
        return *this;
    }
    ErrorText& Number(uint32_t number) { return Ascii(std::to_string(number)); }
    ErrorText& Name(uint32_t start, uint32_t length) {
        message_.append(text_ + start, length);
        return *this;
    }

private:
    const char16_t* text_;
    std::u16string message_;
};

// Turns an open element into an empty one: its children follow it as siblings, in order, and an error
// met inside it counts as met inside its parent. Returns whether it had children to hand over.
bool Unend(ElementTable& table, uint32_t index) {
    ElementRecord& element = table[index];
    element.SetTagLengths(element.StartTagLength(), 0);
    element.length = element.StartTagLength();
    element.flags |= kNotEnded;
    ElementRecord& parent = table[element.parent];
    if (element.flags & kErrorInside) {
        element.flags &= ~kErrorInside;
        parent.flags |= kErrorInside;
    }
    if (element.firstChild == 0) return false;
    // An open element is the last child of its parent, so its children go at the end of the parent's list.
    // Their parent fields are settled once, after the whole text (SettleParents): doing it here would visit
    // the same records again at every level of a deep unended nesting.
    uint32_t first = element.firstChild;
    ElementRecord& firstRecord = table[first];
    uint32_t last = firstRecord.previous;
    firstRecord.flags &= ~kFirstChild;
    firstRecord.previous = index;
    element.next = first;
    element.firstChild = 0;
    table[parent.firstChild].previous = last;
    return true;
}

// Records handed over by unended elements still name those as their parent. A record comes after its
// parent, and an unended element ends with no children, so one pass in index order gives each record the
// parent whose list it is in.
void SettleParents(ElementTable& table) {
    for (uint32_t index = 1; index < table.Count(); ++index) {
        ElementRecord& record = table[index];
        const ElementRecord& parent = table[record.parent];
        if (parent.flags & kNotEnded) record.parent = parent.parent;
    }
}

// Builds the table from the nodes of the text, keeping the first error met.
class TableBuilder {
public:
    TableBuilder(ElementTable& table, const char16_t* text, bool ignoreCase)
        : table_(table), text_(text), open_(text, ignoreCase), error_(text) {}

    void StartTag(const XmlNode& node);
    // contentIsPlainText: only text without references came since the last start tag.
    void EndTag(const XmlNode& node, bool contentIsPlainText);
    // The common end tag, read in place: at `at`, naming the innermost open element, '>' right after the
    // name. Closes that element and gives the offset past the tag, or gives 0 for any other end tag.
    uint32_t EndInnermost(uint32_t at, uint32_t limit, bool contentIsPlainText);
    void ErrorNode(const XmlNode& node);
    // Unends what is still open and settles the root; gives the error text, empty when there is none.
    const std::u16string& Finish(uint32_t textLength);

private:
    uint32_t Current() const { return open_.Empty() ? 0 : open_.Innermost().record; }
    void MarkIllFormed();
    void UnendInnermost();
    void CloseInnermost(uint32_t endTagStart, uint32_t endTagEnd, bool contentIsPlainText);

    ElementTable& table_;
    const char16_t* text_;
    OpenElementStack open_;
    ErrorText error_;
    uint32_t root_ = 0;
    bool handedOver_ = false;  // an unended element handed children to its parent
};

void TableBuilder::MarkIllFormed() {
    table_[0].flags |= kIllFormed;
    table_[Current()].flags |= kErrorInside;
}

// An element left unended makes the document ill-formed too.
void TableBuilder::UnendInnermost() {
    handedOver_ |= Unend(table_, open_.Innermost().record);
    table_[0].flags |= kIllFormed;
    open_.Pop();
}

// The new record becomes the last child of the innermost open element (or of the document).
void TableBuilder::StartTag(const XmlNode& node) {
    uint32_t index = table_.Add();
    uint32_t parentIndex = Current();
    ElementRecord& record = table_[index];
    ElementRecord& parent = table_[parentIndex];
    record.start = node.start;
    record.SetTagLengths(node.end - node.start, 0);
    record.parent = parentIndex;
    record.flags = uint32_t(open_.Size()) & kLevelMask;
    if (parent.firstChild == 0) {
        parent.firstChild = index;
        record.previous = index;
        record.flags |= kFirstChild;
    } else {
        ElementRecord& first = table_[parent.firstChild];
        table_[first.previous].next = index;
        record.previous = first.previous;
        first.previous = index;
    }
    if (open_.Empty() && root_ == 0) root_ = index;
    if (node.emptyElement)
        record.length = node.end - node.start;
    else
        open_.Push({index, node.start + 1, node.nameLength});
}

// Closes the innermost open element of that name, unending every element inside it; an end tag that
// matches nothing is ignored.
void TableBuilder::EndTag(const XmlNode& node, bool contentIsPlainText) {
    const uint32_t nameStart = node.start + 2;
    const size_t match = open_.FindInnermost(nameStart, node.nameLength);
    if (match == open_.Size()) {
        MarkIllFormed();
        if (error_.Empty())
            error_.Ascii("No start tag for end tag '").Name(nameStart, node.nameLength).Ascii("' at offset ")
                .Number(node.start);
        return;
    }
    const bool innermost = match + 1 == open_.Size();
    while (open_.Size() > match + 1) {
        const OpenElement& inner = open_.Innermost();
        if (error_.Empty())
            error_.Ascii("End tag '").Name(nameStart, node.nameLength).Ascii("' at offset ").Number(node.start + 1)
                .Ascii(" does not match start tag '").Name(inner.nameStart, inner.nameLength)
                .Ascii("' at offset ").Number(table_[inner.record].start);
        UnendInnermost();
    }
    CloseInnermost(node.start, node.end, contentIsPlainText && innermost);
}

uint32_t TableBuilder::EndInnermost(uint32_t at, uint32_t limit, bool contentIsPlainText) {
    if (open_.Empty()) return 0;
    const uint32_t close = at + 2 + open_.Innermost().nameLength;
    if (close >= limit || text_[close] != u'>' || !open_.InnermostNamedAt(at + 2)) return 0;
    CloseInnermost(at, close + 1, contentIsPlainText);
    return close + 1;
}

void TableBuilder::CloseInnermost(uint32_t endTagStart, uint32_t endTagEnd, bool contentIsPlainText) {
    ElementRecord& closed = table_[open_.Innermost().record];
    closed.length = endTagEnd - closed.start;
    closed.SetTagLengths(closed.StartTagLength(), endTagEnd - endTagStart);
    // Plain content is exactly what lies between the tags, when both lengths fit their fields.
    if (contentIsPlainText && closed.EndTagLength() == endTagEnd - endTagStart &&
        closed.length <= ElementRecord::kMaxStartTagLength)
        closed.flags |= kPlainText;
    open_.Pop();
}

void TableBuilder::ErrorNode(const XmlNode& node) {
    MarkIllFormed();
    if (!error_.Empty()) return;
    if (node.unterminated)
        error_.Ascii(node.what).Ascii(" at offset ").Number(node.start).Ascii(" unterminated");
    else
        error_.Ascii("Incorrect ").Ascii(node.what).Ascii(" at offset ").Number(node.start);
}

const std::u16string& TableBuilder::Finish(uint32_t textLength) {
    while (!open_.Empty()) {
        const OpenElement& inner = open_.Innermost();
        if (error_.Empty())
            error_.Ascii("Element '").Name(inner.nameStart, inner.nameLength).Ascii("' at offset ")
                .Number(table_[inner.record].start).Ascii(" not ended");
        UnendInnermost();
    }
    if (handedOver_) SettleParents(table_);
    table_[0].length = textLength;
    if (root_ == 0)
        error_.Replace("No root element");
    else if (table_[root_].next != 0)
        error_.Replace("Root element has sibling");
    else
        table_[0].firstChild = root_;
    return error_.Message();
}

}  // namespace

void XmlDocument::Parse() {
    position_ = {};
    elements_.Reset(textLength_ / 64 + 8);
    if (textLength_ == 0) {
        parseResult_ += u", Empty document";
        return;
    }
    const char16_t* text = text_.get();
    TableBuilder builder(elements_, text, flags_ & kIgnoreCase);
    bool plainText = false;  // only text without references since the last start tag
    for (uint32_t at = 0; at < textLength_;) {
        // Text, white space, CDATA, comments, processing instructions and declarations are read from the
        // text when needed; text runs to the next markup.
        if (text[at] != u'<') {
            at = FindEither(text, at, textLength_, u'<', u'&');
            if (at < textLength_ && text[at] == u'&') {
                plainText = false;
                at = FindEither(text, at, textLength_, u'<', u'<');
            }
            continue;
        }
        if (at + 1 < textLength_ && text[at + 1] == u'/') {
            if (uint32_t past = builder.EndInnermost(at, textLength_, plainText)) {
                at = past;
                plainText = false;
                continue;
            }
        }
        XmlNode node = ScanNode(text, textLength_, at);
        at = node.end;
        if (node.kind == XmlNodeKind::StartTag) {
            builder.StartTag(node);
            plainText = !node.emptyElement;
            continue;
        }
        if (node.kind == XmlNodeKind::EndTag)
            builder.EndTag(node, plainText);
        else if (node.kind == XmlNodeKind::Error)
            builder.ErrorNode(node);
        plainText = false;
    }
    const std::u16string& error = builder.Finish(textLength_);
    if (!error.empty()) parseResult_ += u", " + error;
}
