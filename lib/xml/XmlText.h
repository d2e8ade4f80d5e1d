// Small text helpers of the XML reader.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Appends ASCII text to UTF-16 text.
void AppendAscii(std::u16string& out, std::string_view ascii);
inline char16_t FoldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// Tag names compare exactly, or with ASCII letters folded when ignoreCase is set.
inline bool NamesEqual(const char16_t* a, const char16_t* b, size_t length, bool ignoreCase) {
    for (size_t i = 0; i < length; ++i) {
        if (a[i] != b[i] && !(ignoreCase && FoldCase(a[i]) == FoldCase(b[i]))) return false;
    }
    return true;
}

// Offset of the first a or b in text[from, limit), or limit. Never reads at or past limit. Text runs are
// searched eight units at a time where the processor can.
inline uint32_t FindEither(const char16_t* text, uint32_t from, uint32_t limit, char16_t a, char16_t b) {
#if defined(__SSE2__)
    const __m128i wantedA = _mm_set1_epi16(short(a)), wantedB = _mm_set1_epi16(short(b));
    for (; from + 8 <= limit; from += 8) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
        __m128i hits = _mm_or_si128(_mm_cmpeq_epi16(block, wantedA), _mm_cmpeq_epi16(block, wantedB));
        int found = _mm_movemask_epi8(hits);
        if (found) return from + uint32_t(__builtin_ctz(unsigned(found))) / 2;
    }
#endif
    while (from < limit && text[from] != a && text[from] != b) ++from;
    return from;
}

// Whether c is one of the characters below '@' in set, a mask of bits numbered by character code.
inline bool InLowSet(char16_t c, uint64_t set) { return c < 64 && ((set >> c) & 1); }
constexpr uint64_t LowSet(const char* characters) {
    uint64_t set = 0;
    for (; *characters; ++characters) set |= uint64_t(1) << *characters;
    return set;
}

// The platform's standard text for an error number, up to its first line break.
std::u16string ErrorNumberText(int error);
