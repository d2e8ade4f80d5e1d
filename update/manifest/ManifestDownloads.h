// The manifests on the update server and what the updater makes of them. Everything runs on the UI thread
// in the updater's working directory (the installation's update folder).
#pragma once
#include "update/manifest/DigestList.h"
#include "update/manifest/ReleaseTrust.h"

#include <optional>
#include <string>
#include <string_view>

namespace update {

// Empties the staging folder, ends the product, downloads update_log.xml and gives its change-log text.
std::wstring FetchUpdateLog();
// Makes the staging folder, downloads update_md5.xml, reads its digest list and makes the staging folder
// of each listed folder (one level: a nested one only when its parent exists).
DigestList PrepareDigestList();
// The same for a build that may require signed releases: it then deletes the copies of an earlier run,
// downloads update_md5.xml.sig beside the digest list and checks both, and the release it names against this
// installation (its product, the updater's architecture and ownVersion) at the machine's clock; a refused
// digest list gives nullopt and no staging folder for its files.
std::optional<DigestList> PrepareTrustedDigestList(const ReleaseTrust& trust, std::u16string_view ownVersion);

}  // namespace update
