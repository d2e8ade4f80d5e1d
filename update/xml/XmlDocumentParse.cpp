// One pass over the text builds the element table: start tags take records and link them into the tree,
// end tags close the open element they name, and what is left open at a mismatch or at the end of the text
// is unended (turned into an empty element whose children become its following siblings).
#include "XmlDocument.h"

#include "OpenElementStack.h"
#include "XmlNodeScanner.h"
#include "XmlText.h"

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
// met inside it counts as met inside its parent.
void Unend(ElementTable& table, uint32_t index) {
    ElementRecord& element = table[index];
    element.SetTagLengths(element.StartTagLength(), 0);
    element.length = element.StartTagLength();
    element.flags |= kNotEnded;
    ElementRecord& parent = table[element.parent];
    if (element.flags & kErrorInside) {
        element.flags &= ~kErrorInside;
        parent.flags |= kErrorInside;
    }
    if (element.firstChild == 0) return;
    // An open element is the last child of its parent, so its children go at the end of the parent's list.
    // Their parent fields keep naming this element: an unended parent is looked through.
    uint32_t first = element.firstChild;
    ElementRecord& firstRecord = table[first];
    uint32_t last = firstRecord.previous;
    firstRecord.flags &= ~kFirstChild;
    firstRecord.previous = index;
    element.next = first;
    element.firstChild = 0;
    table[parent.firstChild].previous = last;
}

}  // namespace

void XmlDocument::Parse() {
    position_ = {};
    elements_.Reset(textLength_ / 64 + 8);
    const char16_t* text = text_.get();
    ErrorText error(text);
    if (textLength_ == 0) {
        error.Ascii("Empty document");
    }

    OpenElementStack open(text, flags_ & kIgnoreCase);
    uint32_t root = 0;
    auto current = [&]() -> uint32_t { return open.Empty() ? 0 : open.Innermost().record; };
    auto markIllFormed = [&]() {
        elements_[0].flags |= kIllFormed;
        elements_[current()].flags |= kErrorInside;
    };
    auto unendInnermost = [&]() {
        Unend(elements_, open.Innermost().record);
        elements_[0].flags |= kIllFormed;
        open.Pop();
    };

    for (uint32_t at = 0; textLength_ != 0;) {
        XmlNode node = ScanNode(text, textLength_, at);
        at = node.end;
        if (node.kind == XmlNodeKind::End) break;

        if (node.kind == XmlNodeKind::StartTag) {
            uint32_t index = elements_.Add();
            uint32_t parentIndex = current();
            ElementRecord& record = elements_[index];
            ElementRecord& parent = elements_[parentIndex];
            record.start = node.start;
            record.SetTagLengths(node.end - node.start, 0);
            record.parent = parentIndex;
            record.flags = uint32_t(open.Size()) & kLevelMask;
            if (parent.firstChild == 0) {
                parent.firstChild = index;
                record.previous = index;
                record.flags |= kFirstChild;
            } else {
                ElementRecord& first = elements_[parent.firstChild];
                elements_[first.previous].next = index;
                record.previous = first.previous;
                first.previous = index;
            }
            if (open.Empty() && root == 0) root = index;
            if (node.emptyElement) {
                record.length = node.end - node.start;
            } else {
                open.Push({index, node.start + 1, node.nameLength});
            }
        } else if (node.kind == XmlNodeKind::EndTag) {
            const uint32_t nameStart = node.start + 2;
            const size_t match = open.FindInnermost(nameStart, node.nameLength);
            if (match == open.Size()) {
                markIllFormed();
                if (error.Empty())
                    error.Ascii("No start tag for end tag '").Name(nameStart, node.nameLength)
                        .Ascii("' at offset ").Number(node.start);
                continue;
            }
            while (open.Size() > match + 1) {
                const OpenElement& inner = open.Innermost();
                if (error.Empty())
                    error.Ascii("End tag '").Name(nameStart, node.nameLength).Ascii("' at offset ")
                        .Number(node.start + 1).Ascii(" does not match start tag '")
                        .Name(inner.nameStart, inner.nameLength).Ascii("' at offset ")
                        .Number(elements_[inner.record].start);
                unendInnermost();
            }
            ElementRecord& closed = elements_[open.Innermost().record];
            closed.length = node.end - closed.start;
            closed.SetTagLengths(closed.StartTagLength(), node.end - node.start);
            open.Pop();
        } else if (node.kind == XmlNodeKind::Error) {
            markIllFormed();
            if (error.Empty()) {
                if (node.unterminated)
                    error.Ascii(node.what).Ascii(" at offset ").Number(node.start).Ascii(" unterminated");
                else
                    error.Ascii("Incorrect ").Ascii(node.what).Ascii(" at offset ").Number(node.start);
            }
        }
        // Text, white space, CDATA, comments, processing instructions and declarations are read from the
        // text when needed.
    }

    while (!open.Empty()) {
        const OpenElement& inner = open.Innermost();
        if (error.Empty())
            error.Ascii("Element '").Name(inner.nameStart, inner.nameLength).Ascii("' at offset ")
                .Number(elements_[inner.record].start).Ascii(" not ended");
        unendInnermost();
    }

    elements_[0].length = textLength_;
    if (textLength_ != 0) {
        if (root == 0)
            error.Replace("No root element");
        else if (elements_[root].next != 0)
            error.Replace("Root element has sibling");
        else
            elements_[0].firstChild = root;
    }
    if (!error.Empty()) {
        parseResult_ += u", ";
        parseResult_ += error.Message();
    }
}
