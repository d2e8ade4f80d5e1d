// Publishing a release folder (the tree an installation holds: the program files at the top, the updater in
// update/): every file is copied into the store with its MD5 computed over the bytes copied, the digest list
// is written beside them (with its signature file when keys are given), and only then is the release switched live in one database step.
#pragma once
#include "Manifests.h"
#include "ReleaseSigning.h"
#include "Storage.h"

#include <filesystem>
#include <string>
#include <vector>

struct PublishRequest {
    std::filesystem::path releaseDir;
    std::string product;
    int productId = 2;
    ChangeEntry entry;  // date, version and change text
    std::vector<SigningKey> signingKeys;  // none: the digest list goes out unsigned
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
