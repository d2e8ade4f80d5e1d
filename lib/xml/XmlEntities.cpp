#include "lib/xml/XmlEntities.h"

#include <cstdint>

namespace {

struct NamedEntity {
    const char16_t* name;  // with its ';'
    size_t length;
    char16_t value;
};

// Tried in this order.
const NamedEntity kNamedEntities[] = {
    {u"lt;", 3, u'<'}, {u"amp;", 4, u'&'}, {u"gt;", 3, u'>'}, {u"apos;", 5, u'\''}, {u"quot;", 5, u'"'},
};

int DigitValue(char16_t c, bool hex) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (hex && c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (hex && c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// A numeric reference at amp ("&#65;", "&#x42;"): its ';' must lie within the eight characters after
// "&#". Gives the offset past the ';' and the value, or nullptr when it is not a reference.
const char16_t* NumericReference(const char16_t* amp, const char16_t* end, char16_t* value) {
    const char16_t* reach = end - amp > 10 ? amp + 10 : end;
    const char16_t* semicolon = amp + 2;
    while (semicolon < reach && *semicolon != u';') ++semicolon;
    if (semicolon == reach) return nullptr;

    bool hex = amp[2] == u'x';
    uint32_t number = 0;
    for (const char16_t* p = amp + (hex ? 3 : 2); p < semicolon; ++p) {
        int digit = DigitValue(*p, hex);
        if (digit < 0) break;
        number = number * (hex ? 16 : 10) + uint32_t(digit);
    }
    if (number == 0) return nullptr;
    *value = char16_t(number);  // one UTF-16 unit: the value is cut to 16 bits
    return semicolon + 1;
}

const char16_t* NamedReference(const char16_t* amp, const char16_t* end, char16_t* value) {
    for (const NamedEntity& entity : kNamedEntities) {
        if (size_t(end - amp - 1) < entity.length) continue;
        if (std::char_traits<char16_t>::compare(amp + 1, entity.name, entity.length) == 0) {
            *value = entity.value;
            return amp + 1 + entity.length;
        }
    }
    return nullptr;
}

}  // namespace

void AppendDecodedEntities(const char16_t* begin, const char16_t* end, std::u16string& out) {
    const char16_t* copied = begin;  // start of the stretch not yet appended
    for (const char16_t* p = begin; p < end;) {
        if (*p != u'&') {
            ++p;
            continue;
        }
        char16_t value = 0;
        const char16_t* after = (p + 1 < end && p[1] == u'#') ? NumericReference(p, end, &value)
                                                              : NamedReference(p, end, &value);
        if (!after) {
            ++p;
            continue;
        }
        out.append(copied, p);
        out.push_back(value);
        copied = p = after;
    }
    out.append(copied, end);
}
