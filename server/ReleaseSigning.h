// The maker's release keys: Ed25519 (libsodium). The private key lives in a file of its own, kept away from
// the repository and from the server's data folder; publish signs the exact bytes of the digest list with it.
// Key file: one line of 128 hexadecimal digits, the library's 64-byte secret key (seed, then public key).
// Signature file: one line of 128 hexadecimal digits per signing key.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace server {

struct SigningKey {
    std::array<uint8_t, 64> secret{};
    std::array<uint8_t, 32> publicKey{};
};

// Why a private key may not be at path, or empty: inside one of the folders given (the data folder, the
// release folder), or inside a git work tree.
std::string KeyPlaceError(const std::filesystem::path& path, const std::vector<std::filesystem::path>& folders);
// Makes a new key pair and writes the private key to a new file at path, readable by its owner only.
// Gives an error text, or empty and the public key.
std::string MakeSigningKey(const std::filesystem::path& path, SigningKey& key);
// Reads a private key file. Refused: a file others may read or write, a malformed one, or one whose public
// half does not belong to its seed.
std::string ReadSigningKey(const std::filesystem::path& path, SigningKey& key);

std::string PublicKeyHex(const SigningKey& key);
// The signature file over bytes: one line per key, in the order given.
std::string SignatureFile(const std::string& bytes, const std::vector<SigningKey>& keys);

}  // namespace server
