// SHA-256 (FIPS 180-4, libsodium's implementation) over bytes given in pieces: the digest a signed release
// lists for every file beside its MD5.
#pragma once
#include <cstddef>
#include <string>

class Sha256Digest {
public:
    Sha256Digest();
    void Update(const void* bytes, size_t size);
    // 64 lower-case hexadecimal digits; the digest cannot be updated afterwards.
    std::string FinishHex();

private:
    alignas(16) unsigned char state_[128];
};
