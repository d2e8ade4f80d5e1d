#include "lib/xml/Utf8Decode.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// True when none of the eight bytes is zero or has its top bit set.
inline bool AllPlainAscii(uint64_t word) {
    const uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    return ((word | ((word - ones) & ~word)) & highs) == 0;
}

}  // namespace

size_t DecodeUtf8Lenient(const uint8_t* bytes, size_t count, char16_t* out) {
    char16_t* const outStart = out;
    size_t at = 0;
    while (at < count) {
        // Runs of plain ASCII dominate real documents: widen them a block at a time. Each block is read
        // whole before anything is written, which keeps decoding in place safe (see the header).
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        while (count - at >= 16) {
            __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
            const int special = _mm_movemask_epi8(block) | _mm_movemask_epi8(_mm_cmpeq_epi8(block, zero));
            if (special) {
                // With 32 bytes left or more, the block is widened whole and the plain text before the first
                // special byte kept: the units past it are written again later, and all of them lie below
                // the unread bytes.
                if (count - at >= 32) {
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(block, zero));
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(block, zero));
                    const unsigned plain = unsigned(__builtin_ctz(unsigned(special)));
                    out += plain;
                    at += plain;
                }
                break;
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(block, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(block, zero));
            out += 16;
            at += 16;
        }
#endif
        while (count - at >= 8) {
            uint8_t block[8];
            uint64_t word;
            std::memcpy(block, bytes + at, 8);
            std::memcpy(&word, block, 8);
            if (!AllPlainAscii(word)) break;
            for (int i = 0; i < 8; ++i) out[i] = block[i];
            out += 8;
            at += 8;
        }
        if (at == count) break;

        uint8_t lead = bytes[at++];
        if (lead < 0x80) {
            if (lead == 0) break;
            *out++ = lead;
            continue;
        }
        // Any byte from 0x80 up leads a sequence, a stray continuation byte included.
        uint32_t value;
        int following;
        if (!(lead & 0x20)) {
            value = lead & 0x1F, following = 1;
        } else if (!(lead & 0x10)) {
            value = lead & 0x0F, following = 2;
        } else if (!(lead & 0x08)) {
            value = lead & 0x07, following = 3;
        } else {
            *out++ = u'?';
            continue;
        }
        bool valid = true;
        for (; following > 0; --following) {
            if (at == count) return size_t(out - outStart);  // cut off by the end: dropped
            uint8_t next = bytes[at];
            if (!(next & 0x80)) {  // not a continuation: the sequence is invalid and the byte stays
                valid = false;
                break;
            }
            value = (value << 6) | (next & 0x3F);
            ++at;
        }
        if (!valid) {
            *out++ = u'?';
        } else if (value == 0) {
            break;
        } else if (value >= 0x10000) {
            *out++ = char16_t(0xD800 + (((value - 0x10000) >> 10) & 0x3FF));
            *out++ = char16_t(0xDC00 + (value & 0x3FF));
        } else {
            *out++ = char16_t(value);
        }
    }
    return size_t(out - outStart);
}
