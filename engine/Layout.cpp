#include "engine/Layout.h"

#include "lib/xml/XmlDocument.h"

namespace {
std::u16string TagName(const XmlDocument& document, uint32_t index) {
    const ElementRecord& record = document.Elements()[index];
    std::u16string name;
    const char16_t* text = document.Text();
    for (uint32_t at = record.start + 1; at < document.TextLength(); ++at) {
        char16_t c = text[at];
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'/' || c == u'>') break;
        name.push_back(c);
    }
    return name;
}

std::u16string Trimmed(const std::u16string& text) {
    size_t begin = text.find_first_not_of(u" \t\r\n");
    if (begin == std::u16string::npos) return {};
    size_t end = text.find_last_not_of(u" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

// Comma-separated whole numbers 0..10000, exactly count of them.
bool ParseNumbers(const std::u16string& text, int* values, size_t count) {
    size_t at = 0;
    for (size_t i = 0; i < count; ++i) {
        size_t comma = text.find(u',', at);
        if ((comma == std::u16string::npos) != (i + 1 == count)) return false;
        if (!ParseNumber(text.substr(at, comma == std::u16string::npos ? std::u16string::npos : comma - at),
                         &values[i]))
            return false;
        at = comma + 1;
    }
    return true;
}
}  // namespace

const std::u16string* LayoutItem::Find(const std::u16string& name) const {
    auto it = properties.find(name);
    return it == properties.end() ? nullptr : &it->second;
}

std::vector<LayoutItem> ParseLayout(const void* bytes, size_t count) {
    std::vector<LayoutItem> items;
    XmlDocument document;
    document.LoadBytes(bytes, count);
    if (!document.FindSibling() || !document.Descend()) return items;
    while (document.FindSibling()) {
        const XmlPosition item = document.Position();
        LayoutItem layoutItem;
        layoutItem.kind = TagName(document, item.element);
        document.Descend();
        while (document.FindSibling()) {
            const uint32_t property = document.Position().element;
            layoutItem.properties[TagName(document, property)] = document.ElementText(property);
        }
        document.SetPosition(item);
        items.push_back(std::move(layoutItem));
    }
    return items;
}

bool ParseNumber(const std::u16string& text, int* value) {
    const std::u16string digits = Trimmed(text);
    if (digits.empty() || digits.size() > 5) return false;
    int number = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9') return false;
        number = number * 10 + (c - u'0');
    }
    if (number > 10000) return false;
    *value = number;
    return true;
}

bool ParseRect(const std::u16string& text, LayoutRect* rect) {
    int v[4];
    if (!ParseNumbers(text, v, 4)) return false;
    *rect = {v[0], v[1], v[2], v[3]};
    return true;
}

bool ParseSize(const std::u16string& text, LayoutRect* rect) {
    int v[2];
    if (!ParseNumbers(text, v, 2)) return false;
    *rect = {0, 0, v[0], v[1]};
    return true;
}

bool ParseColor(const std::u16string& text, uint32_t* rgb) {
    const std::u16string t = Trimmed(text);
    if (t.size() != 7 || t[0] != u'#') return false;
    uint32_t value = 0;
    for (size_t i = 1; i < 7; ++i) {
        char16_t c = t[i];
        int digit = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'a' && c <= u'f' ? c - u'a' + 10
                  : c >= u'A' && c <= u'F' ? c - u'A' + 10 : -1;
        if (digit < 0) return false;
        value = value * 16 + uint32_t(digit);
    }
    *rgb = value;
    return true;
}
