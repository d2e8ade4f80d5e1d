// Publishing a release folder (the tree an installation holds: the program files at the top, the updater in
// update/): every file is copied into the store with its MD5 computed over the bytes copied, the digest list
// is written beside them (with its signature file when keys are given), and only then is the release switched live in one database step.
#pragma once
#include "server/Manifests.h"
#include "server/ReleaseSigning.h"
#include "server/Storage.h"

#include <filesystem>
#include <string>
#include <vector>

namespace server {

// How long a release's signature holds when the maker names no expiry.
constexpr int64_t kDefaultExpiryDays = 30;

struct PublishRequest {
    std::filesystem::path releaseDir;
    std::string product;  // the release channel's name
    int productId = 2;
    ChangeEntry entry;  // date, version and change text
    std::vector<SigningKey> signingKeys;  // none: the digest list goes out unsigned
    // What the digest list names besides the version: the product as installations name it (empty: the
    // channel's name), the architecture and the expiry (seconds since 1970, UTC).
    std::string stampProduct;
    std::string arch = "x86";
    int64_t expires = 0;
};

struct PublishResult {
    bool ok = false;
    std::string error;
    int64_t releaseId = 0;
    std::vector<ManifestFile> files;
    int retiredReleases = 0;  // older releases whose files this publish removed
    int abandonedRemoved = 0;  // rows and folders of publishes that died, removed before this one
};

// The live releases kept with their files: the new one, and the one before it, whose files a request that
// began just before the switch may still be reading.
constexpr int kReleasesKept = 2;

// The files of a release folder as the digest list names them (digests still empty), or an error: a link,
// a name that is not safe in the store or on a client, two files of one name, or no file at all.
struct ReleaseListing {
    std::vector<ManifestFile> files;
    std::vector<std::filesystem::path> sources;  // parallel to files
    std::string error;
};
ReleaseListing ListReleaseFolder(const std::filesystem::path& releaseDir);

// Publishes the release, then removes the files of the product's releases older than the kept ones. Holds the
// product's publish lock throughout (another publish of it waits), and first removes what publishes of the
// product that died left behind.
PublishResult PublishRelease(Storage& storage, const std::filesystem::path& dataDir, const PublishRequest& request);

// Signs the product's live release again with a new expiry: its files and digests stay as they are, only the
// release element's expiry and the signature file change. The signature file first holds the new signatures
// beside the old ones, so that every client sees a digest list with a signature over it throughout.
// Gives an error text, or empty.
std::string ResignRelease(Storage& storage, const std::filesystem::path& dataDir, const std::string& product,
                          const std::vector<SigningKey>& keys, int64_t expires);

}  // namespace server
