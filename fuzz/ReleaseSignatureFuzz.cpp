// Reads the input as a signature file, as a key text, and split in two as a digest list with its signature
// file for a build with a key of this run: the parsers keep to their bounds, and nothing the input holds
// passes for a signature of the key.
#include "lib/xml/XmlDocument.h"
#include "update/manifest/DigestList.h"
#include "update/manifest/ReleaseSignature.h"
#include "update/manifest/ReleaseTrust.h"

#include <sodium.h>

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace update;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

const ReleaseTrust& Trust() {
    static const ReleaseTrust trust = [] {
        Check(sodium_init() >= 0);
        ReleaseKey key;
        unsigned char secret[crypto_sign_ed25519_SECRETKEYBYTES];
        crypto_sign_ed25519_keypair(key.data(), secret);
        return ReleaseTrust({key});
    }();
    return trust;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto signatures = ParseSignatureFile(bytes)) {
        Check(!signatures->empty() && signatures->size() <= kMaxSignatures);
        Check(size >= 128 * signatures->size() && size <= 130 * signatures->size());
    }
    if (const auto keys = ParseReleaseKeys(bytes)) Check(size >= 64 * keys->size());

    const size_t split = size == 0 ? 0 : data[0] % size;
    const std::string_view listBytes = bytes.substr(0, split);
    XmlDocument document;
    document.LoadBytes(listBytes.data(), listBytes.size());
    const DigestList list = ReadDigestList(document);
    Check(list.fileSha256.size() == list.fileNames.size());
    Check(!Trust().AcceptsDigestList(listBytes, std::string(bytes.substr(split)), list));
    for (size_t i = 0; i <= list.fileNames.size(); ++i) Trust().AcceptsFile(list, i, bytes.substr(split));
    return 0;
}
