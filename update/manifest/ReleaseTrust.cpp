#include "update/manifest/ReleaseTrust.h"

#include "update/manifest/FilePaths.h"
#include "update/manifest/ManifestText.h"

namespace update {

ReleaseTrust ReleaseTrust::FromKeyText(std::string_view text) {
    std::optional<std::vector<ReleaseKey>> keys = ParseReleaseKeys(text);
    if (keys) return ReleaseTrust(std::move(*keys));
    ReleaseTrust refusing;
    refusing.refuseAll_ = true;
    return refusing;
}

bool ReleaseTrust::AcceptsDigestList(std::string_view listBytes, const std::optional<std::string>& signatureFile,
                                     const DigestList& list) const {
    if (!RequiresSignature()) return true;
    if (refuseAll_ || !signatureFile) return false;
    const std::optional<std::vector<ReleaseSignature>> signatures = ParseSignatureFile(*signatureFile);
    if (!signatures || !IsSignedByAny(listBytes, *signatures, keys_)) return false;
    for (const std::u16string& sha256 : list.fileSha256) {
        if (!IsSha256Text(sha256)) return false;
    }
    return list.fileSha256.size() == list.fileNames.size();
}

bool ReleaseTrust::AcceptsFile(const DigestList& list, size_t index, std::string_view sha256Hex) const {
    if (!RequiresSignature()) return true;
    if (refuseAll_ || index >= list.fileSha256.size()) return false;
    const std::u16string& listed = list.fileSha256[index];
    return IsSha256Text(listed) && IsListedContent(FromAscii(sha256Hex), listed);
}

bool ReleaseTrust::AcceptsRelease(const DigestList& list, const InstalledRelease& installed, int64_t now) const {
    if (!RequiresSignature()) return true;
    return !refuseAll_ && JudgeRelease(list.release, installed, now) == ReleaseVerdict::Accepted;
}

}  // namespace update
