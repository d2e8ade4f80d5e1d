#include "common/Md5Digest.h"

#include <cstring>

namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// One step of each round of RFC 1321, written out so the compiler keeps the four words in registers. The
// message word and the constant are added first, as they do not wait for the previous step; the second
// round's function is added in two halves that do not overlap.
template <int Round>
inline void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word, uint32_t sine, int shift) {
    a += word + sine;
    if (Round == 0) {
        a += d ^ (b & (c ^ d));
    } else if (Round == 1) {
        a += ~d & c;
        a += d & b;
    } else if (Round == 2) {
        a += b ^ (c ^ d);
    } else {
        a += c ^ (b | ~d);
    }
    a = b + RotateLeft(a, shift);
}

}  // namespace

Md5Digest::Md5Digest() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476}, buffer_{} {}

void Md5Digest::Transform(const uint8_t block[64]) {
    uint32_t m[16];
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::memcpy(m, block, sizeof m);
#else
    for (int i = 0; i < 16; ++i)
        m[i] = uint32_t(block[i * 4]) | uint32_t(block[i * 4 + 1]) << 8 | uint32_t(block[i * 4 + 2]) << 16 |
               uint32_t(block[i * 4 + 3]) << 24;
#endif
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    // Four steps at a time, the words rotating through a, d, c, b; the message word of step i is i,
    // (5i + 1), (3i + 5) and 7i modulo 16 in the four rounds.
#define MD5_FOUR_STEPS(round, i, g0, g1, g2, g3, s0, s1, s2, s3) \
    Step<round>(a, b, c, d, m[g0], kSine[i], s0);                \
    Step<round>(d, a, b, c, m[g1], kSine[i + 1], s1);            \
    Step<round>(c, d, a, b, m[g2], kSine[i + 2], s2);            \
    Step<round>(b, c, d, a, m[g3], kSine[i + 3], s3)
    MD5_FOUR_STEPS(0, 0, 0, 1, 2, 3, 7, 12, 17, 22);
    MD5_FOUR_STEPS(0, 4, 4, 5, 6, 7, 7, 12, 17, 22);
    MD5_FOUR_STEPS(0, 8, 8, 9, 10, 11, 7, 12, 17, 22);
    MD5_FOUR_STEPS(0, 12, 12, 13, 14, 15, 7, 12, 17, 22);
    MD5_FOUR_STEPS(1, 16, 1, 6, 11, 0, 5, 9, 14, 20);
    MD5_FOUR_STEPS(1, 20, 5, 10, 15, 4, 5, 9, 14, 20);
    MD5_FOUR_STEPS(1, 24, 9, 14, 3, 8, 5, 9, 14, 20);
    MD5_FOUR_STEPS(1, 28, 13, 2, 7, 12, 5, 9, 14, 20);
    MD5_FOUR_STEPS(2, 32, 5, 8, 11, 14, 4, 11, 16, 23);
    MD5_FOUR_STEPS(2, 36, 1, 4, 7, 10, 4, 11, 16, 23);
    MD5_FOUR_STEPS(2, 40, 13, 0, 3, 6, 4, 11, 16, 23);
    MD5_FOUR_STEPS(2, 44, 9, 12, 15, 2, 4, 11, 16, 23);
    MD5_FOUR_STEPS(3, 48, 0, 7, 14, 5, 6, 10, 15, 21);
    MD5_FOUR_STEPS(3, 52, 12, 3, 10, 1, 6, 10, 15, 21);
    MD5_FOUR_STEPS(3, 56, 8, 15, 6, 13, 6, 10, 15, 21);
    MD5_FOUR_STEPS(3, 60, 4, 11, 2, 9, 6, 10, 15, 21);
#undef MD5_FOUR_STEPS
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void Md5Digest::Update(const void* data, size_t size) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    bitCount_ += uint64_t(size) * 8;
    if (buffered_ > 0) {
        const size_t take = size < 64 - buffered_ ? size : 64 - buffered_;
        std::memcpy(buffer_ + buffered_, bytes, take);
        buffered_ += take;
        bytes += take;
        size -= take;
        if (buffered_ < 64) return;
        Transform(buffer_);
        buffered_ = 0;
    }
    // Whole blocks straight from the input.
    for (; size >= 64; bytes += 64, size -= 64) Transform(bytes);
    std::memcpy(buffer_, bytes, size);
    buffered_ = size;
}

std::array<uint8_t, 16> Md5Digest::Finish() {
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i) lengthBytes[i] = uint8_t(bitCount_ >> (8 * i));
    static const uint8_t kPad[64] = {0x80};
    size_t padLength = buffered_ < 56 ? 56 - buffered_ : 120 - buffered_;
    Update(kPad, padLength);
    Update(lengthBytes, 8);
    std::array<uint8_t, 16> digest;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) digest[i * 4 + j] = uint8_t(state_[i] >> (8 * j));
    return digest;
}

std::string Md5Digest::Hex(const void* data, size_t size, bool upperCase) {
    Md5Digest md5;
    md5.Update(data, size);
    std::array<uint8_t, 16> digest = md5.Finish();
    return HexDigits(digest.data(), digest.size(), upperCase);
}

std::string HexDigits(const uint8_t* bytes, size_t size, bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        out.push_back(digits[bytes[i] >> 4]);
        out.push_back(digits[bytes[i] & 15]);
    }
    return out;
}
