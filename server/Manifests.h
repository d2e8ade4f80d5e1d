// The two manifest documents the updater reads: the file digests of one release (update_md5.xml) and the
// change log of every release, newest first (update_log.xml).
#pragma once
#include "server/Storage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace server {

struct ManifestFile {
    std::string name;    // the file name, without folder
    std::string md5;     // 32 lower-case hexadecimal digits
    std::string folder;  // levels joined by "/", or "NULL" for the installation folder itself
    std::string sha256;  // 64 lower-case hexadecimal digits
};

// What the digest list says of its release; the signature over the list covers it with the digests.
struct ReleaseStamp {
    std::string product;  // [Product] name, as the installation's config.ini has it (not the channel's)
    std::string arch;     // "x86" or "x64"
    std::string version;
    int64_t expires = 0;  // seconds since 1970 (UTC): no updater with keys takes the list from then on
};

// The root's first child is the release element (product, arch, version, expires); then come name, md5,
// folder, sha256, name, md5, folder, sha256... The updater's walk looks for each name and then its md5 and
// folder, so it passes over the release element and the sha256 element after every folder, as the 32-bit
// updaters in the field do.
std::string DigestManifest(const ReleaseStamp& release, const std::vector<ManifestFile>& files);
// The digest list with the expiry of its release element replaced; empty when it has no such element.
std::string WithExpiry(const std::string& digestList, int64_t expires);
// Three levels, then Date, Version, Content per entry.
std::string ChangeLogManifest(const std::vector<ChangeEntry>& entries);
// Text with &, < and > escaped, for element content.
std::string XmlEscaped(const std::string& text);

}  // namespace server
