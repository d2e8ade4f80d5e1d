// What the staging folder must hold right before an install: only files of the digest list, each at its
// staging path with its listed digests. A file changed after its download, or one put into the staging
// folder by anything but the download pass, makes the whole install refused, so that nothing is installed
// that was not verified.
#pragma once
#include "update/manifest/DigestList.h"
#include "update/manifest/ReleaseTrust.h"

#include <string>
#include <vector>

namespace update {

// A file found in the staging folder: its path relative to it ("skin\b.png") and its digests, as read just
// now; both empty when it could not be read.
struct StagedFile {
    std::u16string path;
    std::string md5;
    std::string sha256;
};

// Whether every staged file is a listed one at its staging path with the listed MD5 (and, for a build that
// requires signed releases, the listed SHA-256).
bool IsStagedRelease(const DigestList& list, const std::vector<StagedFile>& staged, const ReleaseTrust& trust);

}  // namespace update
