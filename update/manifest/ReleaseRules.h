// Whether a signed release may be installed here, beyond its signature: it must name this installation's
// product and architecture, be newer than what is installed (no rollback to an older signed release), and
// its signature must not have expired on the machine's clock (no release held back forever by serving an
// old signed list). The clock is an argument, so the rules are tested at any given time.
#pragma once
#include "update/manifest/ReleaseData.h"

#include <cstdint>
#include <optional>
#include <string>

namespace update {

struct InstalledRelease {
    std::u16string product;  // [Product] name of the installation
    std::u16string arch;     // the updater's own architecture, "x86" or "x64"
    std::u16string version;  // the updater's own version
};

enum class ReleaseVerdict {
    Accepted,
    Unnamed,       // no readable release element
    OtherProduct,
    OtherArch,
    NotNewer,      // the same version or an older one, or one that cannot be compared
    Expired,       // now is at or after the expiry
};

ReleaseVerdict JudgeRelease(const std::optional<ReleaseData>& release, const InstalledRelease& installed,
                            int64_t now);

}  // namespace update
