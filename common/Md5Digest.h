// MD5 message digest (RFC 1321) over bytes.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Md5Digest {
public:
    Md5Digest();
    void Update(const void* data, size_t size);
    // Ends the message and returns A, B, C, D, each as four bytes from the least significant.
    std::array<uint8_t, 16> Finish();

    // The digest of one buffer as 32 hexadecimal digits.
    static std::string Hex(const void* data, size_t size, bool upperCase);

private:
    void Transform(const uint8_t block[64]);

    uint32_t state_[4];
    uint64_t bitCount_ = 0;
    uint8_t buffer_[64];
    size_t buffered_ = 0;
};

// Renders bytes as two hexadecimal digits each.
std::string HexDigits(const uint8_t* bytes, size_t size, bool upperCase);
