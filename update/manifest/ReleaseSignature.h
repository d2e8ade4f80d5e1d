// Release signatures as the updater checks them: Ed25519 signatures (libsodium) over the exact bytes of the
// digest list, by the maker's public keys built into the updater, and the SHA-256 digests of the files.
// Everything here takes outside data: malformed input is refused, never trusted.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace update {

using ReleaseKey = std::array<uint8_t, 32>;
using ReleaseSignature = std::array<uint8_t, 64>;

// A signature file holds at most this many lines (one per key the maker signed with).
inline constexpr size_t kMaxSignatures = 8;

// Public keys of 64 hexadecimal digits, separated by ';', ',' or white space. The empty text gives no key;
// any other part that is not a key makes the whole text malformed (nullopt).
std::optional<std::vector<ReleaseKey>> ParseReleaseKeys(std::string_view text);
// The signature file: 1 to kMaxSignatures lines of 128 hexadecimal digits, each ended by LF or CRLF (the
// last one's end may be missing). Anything else is malformed (nullopt).
std::optional<std::vector<ReleaseSignature>> ParseSignatureFile(std::string_view bytes);
// Whether one of the signatures is valid over exactly these bytes for one of the keys.
bool IsSignedByAny(std::string_view bytes, const std::vector<ReleaseSignature>& signatures,
                   const std::vector<ReleaseKey>& keys);

// A listed SHA-256: exactly 64 hexadecimal digits, either case.
bool IsSha256Text(std::u16string_view text);

}  // namespace update
