#include "update/manifest/ReleaseSignature.h"

#include <sodium/crypto_sign_ed25519.h>

namespace update {

namespace {

static_assert(crypto_sign_ed25519_PUBLICKEYBYTES == sizeof(ReleaseKey), "key size");
static_assert(crypto_sign_ed25519_BYTES == sizeof(ReleaseSignature), "signature size");

int HexValue(unsigned c) {
    if (c >= '0' && c <= '9') return int(c - '0');
    if (c >= 'a' && c <= 'f') return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return int(c - 'A' + 10);
    return -1;
}

// Exactly 2 * N hexadecimal digits into bytes.
template <size_t N>
bool ParseHex(std::string_view text, std::array<uint8_t, N>& bytes) {
    if (text.size() != 2 * N) return false;
    for (size_t i = 0; i < N; ++i) {
        const int high = HexValue(uint8_t(text[2 * i])), low = HexValue(uint8_t(text[2 * i + 1]));
        if (high < 0 || low < 0) return false;
        bytes[i] = uint8_t(high * 16 + low);
    }
    return true;
}

bool IsKeySeparator(char c) { return c == ';' || c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::optional<std::vector<ReleaseKey>> ParseReleaseKeys(std::string_view text) {
    std::vector<ReleaseKey> keys;
    size_t at = 0;
    while (at < text.size()) {
        if (IsKeySeparator(text[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && !IsKeySeparator(text[end])) ++end;
        ReleaseKey key;
        if (!ParseHex(text.substr(at, end - at), key)) return std::nullopt;
        keys.push_back(key);
        at = end;
    }
    return keys;
}

std::optional<std::vector<ReleaseSignature>> ParseSignatureFile(std::string_view bytes) {
    std::vector<ReleaseSignature> signatures;
    constexpr size_t kDigits = 2 * sizeof(ReleaseSignature);
    while (!bytes.empty()) {
        if (signatures.size() == kMaxSignatures || bytes.size() < kDigits) return std::nullopt;
        ReleaseSignature signature;
        if (!ParseHex(bytes.substr(0, kDigits), signature)) return std::nullopt;
        bytes.remove_prefix(kDigits);
        if (bytes.substr(0, 2) == "\r\n") {
            bytes.remove_prefix(2);
        } else if (bytes.substr(0, 1) == "\n") {
            bytes.remove_prefix(1);
        } else if (!bytes.empty()) {
            return std::nullopt;
        }
        signatures.push_back(signature);
    }
    if (signatures.empty()) return std::nullopt;
    return signatures;
}

bool IsSignedByAny(std::string_view bytes, const std::vector<ReleaseSignature>& signatures,
                   const std::vector<ReleaseKey>& keys) {
    const auto* message = reinterpret_cast<const unsigned char*>(bytes.data());
    for (const ReleaseSignature& signature : signatures) {
        for (const ReleaseKey& key : keys) {
            if (crypto_sign_ed25519_verify_detached(signature.data(), message, bytes.size(), key.data()) == 0)
                return true;
        }
    }
    return false;
}

bool IsSha256Text(std::u16string_view text) {
    if (text.size() != 64) return false;
    for (char16_t c : text) {
        if (c > 0x7F || HexValue(c) < 0) return false;
    }
    return true;
}

}  // namespace update
