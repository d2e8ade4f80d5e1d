// Release keys and signatures for the updater's tests: Ed25519 key pairs made afresh or read from a private
// key file of the publish tool, signature lines as the publish tool writes them, and SHA-256 texts.
#pragma once
#include <sodium/crypto_sign_ed25519.h>

#include <algorithm>
#include <optional>
#include <string>

#include "common/Sha256Digest.h"
#include "update/manifest/ReleaseSignature.h"

using namespace update;

inline std::string Sha256Of(const std::string& bytes) {
    Sha256Digest digest;
    digest.Update(bytes.data(), bytes.size());
    return digest.FinishHex();
}

// The release element of a signed digest list as publish writes it. The expiry defaults to a time far ahead
// of any test machine's clock.
inline std::string ReleaseElement(const std::string& product, const std::string& arch, const std::string& version,
                                  const std::string& expires = "2999-12-31T23:59:59Z") {
    return "<release><product>" + product + "</product><arch>" + arch + "</arch><version>" + version +
           "</version><expires>" + expires + "</expires></release>\r\n";
}

struct KeyPair {
    ReleaseKey publicKey{};
    uint8_t secret[crypto_sign_ed25519_SECRETKEYBYTES] = {};

    // A new key pair.
    KeyPair() { crypto_sign_ed25519_keypair(publicKey.data(), secret); }
    // The pair of a key file made by keygen: 128 hexadecimal digits of the secret key, which is the seed
    // followed by the public key. nullopt when the text is no such key.
    static std::optional<KeyPair> FromKeyFile(const std::string& text) {
        if (text.size() < 2 * sizeof secret) return std::nullopt;
        KeyPair pair;
        for (size_t i = 0; i < sizeof secret; ++i) {
            const int high = HexValue(text[2 * i]), low = HexValue(text[2 * i + 1]);
            if (high < 0 || low < 0) return std::nullopt;
            pair.secret[i] = uint8_t(high << 4 | low);
        }
        std::copy(pair.secret + 32, pair.secret + 64, pair.publicKey.begin());
        return pair;
    }

    // One line of the signature file over bytes.
    std::string SignatureLine(const std::string& bytes) const {
        uint8_t signature[crypto_sign_ed25519_BYTES];
        crypto_sign_ed25519_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(bytes.data()),
                                     bytes.size(), secret);
        static const char digits[] = "0123456789abcdef";
        std::string hex;
        for (uint8_t byte : signature) {
            hex += digits[byte >> 4];
            hex += digits[byte & 15];
        }
        return hex + "\n";
    }

private:
    static int HexValue(char digit) {
        if (digit >= '0' && digit <= '9') return digit - '0';
        if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
        if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
        return -1;
    }
};
