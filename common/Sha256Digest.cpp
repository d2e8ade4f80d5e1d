#include "common/Sha256Digest.h"

#include "common/Md5Digest.h"

#include <sodium/crypto_hash_sha256.h>

#include <cstdint>

namespace {

static_assert(sizeof(crypto_hash_sha256_state) <= 128, "Sha256Digest's state is too small");

crypto_hash_sha256_state* State(unsigned char* bytes) { return reinterpret_cast<crypto_hash_sha256_state*>(bytes); }

}  // namespace

Sha256Digest::Sha256Digest() { crypto_hash_sha256_init(State(state_)); }

void Sha256Digest::Update(const void* bytes, size_t size) {
    crypto_hash_sha256_update(State(state_), static_cast<const unsigned char*>(bytes), size);
}

std::string Sha256Digest::FinishHex() {
    uint8_t digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(State(state_), digest);
    return HexDigits(digest, sizeof digest, false);
}
