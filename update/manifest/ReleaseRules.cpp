#include "update/manifest/ReleaseRules.h"

namespace update {

ReleaseVerdict JudgeRelease(const std::optional<ReleaseData>& release, const InstalledRelease& installed,
                            int64_t now) {
    if (!release) return ReleaseVerdict::Unnamed;
    if (release->product != installed.product) return ReleaseVerdict::OtherProduct;
    if (release->arch != installed.arch) return ReleaseVerdict::OtherArch;
    const std::optional<int> order = CompareVersions(release->version, installed.version);
    if (!order || *order <= 0) return ReleaseVerdict::NotNewer;
    if (now >= release->expires) return ReleaseVerdict::Expired;
    return ReleaseVerdict::Accepted;
}

}  // namespace update
