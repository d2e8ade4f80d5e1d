// What a release folder says about itself before it is published: its product's name and its programs'
// architecture.
#pragma once
#include "server/ReleaseArch.h"

#include <filesystem>
#include <optional>
#include <string>

namespace server {

// [Product] name of an INI file, or empty.
std::string ProductNameOf(const std::filesystem::path& ini);

// The architecture of the release folder's programs, checked against the stated one when given; an error
// otherwise. A folder that cannot be listed is left to the publish, which says why.
ReleaseArchResult ReleaseFolderArch(const std::filesystem::path& releaseDir, const std::optional<ReleaseArch>& stated);

}  // namespace server
