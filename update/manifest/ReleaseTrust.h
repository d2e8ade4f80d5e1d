// Which releases the updater trusts. A build with the maker's public keys takes a digest list only with a
// signature file that one of the keys made over exactly its bytes, only when every entry lists the file's
// SHA-256, and only for a newer, unexpired release of its own product and architecture; each downloaded file must then match its SHA-256 as well as its MD5. A build without keys
// takes digest lists and files on their MD5 alone.
#pragma once
#include "update/manifest/DigestList.h"
#include "update/manifest/ReleaseRules.h"
#include "update/manifest/ReleaseSignature.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace update {

class ReleaseTrust {
public:
    // Without keys: nothing is checked beyond the MD5 digests.
    ReleaseTrust() = default;
    explicit ReleaseTrust(std::vector<ReleaseKey> keys) : keys_(std::move(keys)) {}
    // The keys this updater was built with. Built keys that cannot be read make a trust that refuses
    // every release, never one that checks nothing.
    static ReleaseTrust Built();
    static ReleaseTrust FromKeyText(std::string_view keys);

    // Whether releases must be signed; when not, the signature file is not even fetched.
    bool RequiresSignature() const { return refuseAll_ || !keys_.empty(); }
    // Whether the digest list read from listBytes may be used. signatureFile: the bytes of the signature
    // file, or nullopt when there is none.
    bool AcceptsDigestList(std::string_view listBytes, const std::optional<std::string>& signatureFile,
                           const DigestList& list) const;
    // Whether the release of a digest list this trust accepted may replace the installed one at the time now
    // (ReleaseRules.h): a build with keys takes only a newer release of its own product and architecture
    // whose signature has not expired.
    bool AcceptsRelease(const DigestList& list, const InstalledRelease& installed, int64_t now) const;
    // Whether a downloaded file i of the list, with this SHA-256, may be installed.
    bool AcceptsFile(const DigestList& list, size_t index, std::string_view sha256Hex) const;

private:
    std::vector<ReleaseKey> keys_;
    bool refuseAll_ = false;
};

}  // namespace update
