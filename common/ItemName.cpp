#include "common/ItemName.h"

namespace {

bool IsSeparator(uint16_t c) { return c == '/' || c == '\\'; }

uint16_t AsciiUpper(uint16_t c) { return c >= 'a' && c <= 'z' ? uint16_t(c - 'a' + 'A') : c; }

bool EqualsAscii(const uint16_t* part, size_t length, const char* word) {
    size_t i = 0;
    for (; i < length && word[i]; ++i) {
        if (AsciiUpper(part[i]) != uint16_t(word[i])) return false;
    }
    return i == length && !word[i];
}

// COM and LPT take a digit 0-9 or a superscript one, two or three (Windows opens COM¹ as COM1).
bool IsPortDigit(uint16_t c) { return (c >= '0' && c <= '9') || c == 0xB9 || c == 0xB2 || c == 0xB3; }

// CON, PRN, AUX, NUL, COM0-9, LPT0-9 (also with an extension or trailing spaces), CONIN$ and CONOUT$ open
// devices, wherever they stand in a path.
bool IsDeviceName(const uint16_t* part, size_t length) {
    size_t base = 0;
    while (base < length && part[base] != '.') ++base;
    while (base > 0 && part[base - 1] == ' ') --base;
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices) {
        if (EqualsAscii(part, base, device)) return true;
    }
    return base == 4 && (EqualsAscii(part, 3, "COM") || EqualsAscii(part, 3, "LPT")) && IsPortDigit(part[3]);
}

bool IsDigit(uint16_t c) { return c >= '0' && c <= '9'; }

// A "~" and digits at the end of the name or before a dot: the form of a generated 8.3 name (PROGRA~1,
// UPDATE~1.EXE), which the file system may resolve to a different long name.
bool IsShortNameForm(const uint16_t* part, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (part[i] != '~') continue;
        size_t end = i + 1;
        while (end < length && IsDigit(part[end])) ++end;
        if (end > i + 1 && (end == length || part[end] == '.')) return true;
    }
    return false;
}

bool IsSafePart(const uint16_t* part, size_t length) {
    if (length == 0) return false;
    bool onlyDotsAndSpaces = true;
    for (size_t i = 0; i < length; ++i) {
        const uint16_t c = part[i];
        if (c < 0x20 || c == ':') return false;
        if (c != '.' && c != ' ') onlyDotsAndSpaces = false;
    }
    const uint16_t last = part[length - 1];
    return !onlyDotsAndSpaces && last != '.' && last != ' ' && !IsDeviceName(part, length) &&
           !IsShortNameForm(part, length);
}

}  // namespace

bool IsSafeItemName(const uint16_t* name, size_t length) {
    size_t start = 0;
    for (size_t i = 0; i <= length; ++i) {
        if (i == length || IsSeparator(name[i])) {
            if (!IsSafePart(name + start, i - start)) return false;
            start = i + 1;
        }
    }
    return true;
}

bool IsSameItemPath(std::u16string_view a, std::u16string_view b) {
    auto folded = [](char16_t c) {
        if (c == u'/') return u'\\';
        return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
    };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (folded(a[i]) != folded(b[i])) return false;
    }
    return true;
}
