#include "update/install/StagedRelease.h"

#include "common/ItemName.h"
#include "update/manifest/FilePaths.h"
#include "update/manifest/ManifestText.h"

namespace update {

namespace {

// The listed file staged at path, or the list's size when none is.
size_t ListedAt(const DigestList& list, std::u16string_view path) {
    const size_t root = kStagingRoot.size() + 1;  // kStagingRoot and its "\"
    for (size_t i = 0; i < list.fileNames.size(); ++i) {
        const std::u16string staging = StagingPath(list, list.fileNames[i]);
        if (staging.size() > root && IsSameItemPath(std::u16string_view(staging).substr(root), path)) return i;
    }
    return list.fileNames.size();
}

}  // namespace

bool IsStagedRelease(const DigestList& list, const std::vector<StagedFile>& staged, const ReleaseTrust& trust) {
    for (const StagedFile& file : staged) {
        const size_t i = ListedAt(list, file.path);
        if (i == list.fileNames.size() || file.md5.empty()) return false;
        if (!IsListedContent(FromAscii(file.md5), list.fileDigests[i]) || !trust.AcceptsFile(list, i, file.sha256))
            return false;
    }
    return true;
}

}  // namespace update
