#include "ItemName.h"

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

// CON, PRN, AUX, NUL, COM1-9, LPT1-9 (also with an extension or trailing spaces), CONIN$ and CONOUT$ open
// devices, wherever they stand in a path.
bool IsDeviceName(const uint16_t* part, size_t length) {
    size_t base = 0;
    while (base < length && part[base] != '.') ++base;
    while (base > 0 && part[base - 1] == ' ') --base;
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices) {
        if (EqualsAscii(part, base, device)) return true;
    }
    return base == 4 && (EqualsAscii(part, 3, "COM") || EqualsAscii(part, 3, "LPT")) && part[3] >= '1' &&
           part[3] <= '9';
}

bool IsSafePart(const uint16_t* part, size_t length) {
    if (length == 0) return false;
    bool onlyDotsAndSpaces = true;
    for (size_t i = 0; i < length; ++i) {
        const uint16_t c = part[i];
        if (c < 0x20 || c == ':') return false;
        if (c != '.' && c != ' ') onlyDotsAndSpaces = false;
    }
    return !onlyDotsAndSpaces && !IsDeviceName(part, length);
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
