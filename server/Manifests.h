// The two manifest documents the updater reads: the file digests of one release (update_md5.xml) and the
// change log of every release, newest first (update_log.xml).
#pragma once
#include "Storage.h"

#include <string>
#include <vector>

struct ManifestFile {
    std::string name;    // the file name, without folder
    std::string md5;     // 32 lower-case hexadecimal digits
    std::string folder;  // levels joined by "/", or "NULL" for the installation folder itself
    std::string sha256;  // 64 lower-case hexadecimal digits
};

// The root's children are name, md5, folder, sha256, name, md5, folder, sha256... The updater's walk looks for
// each name and then its md5 and folder, so it passes over the sha256 element after every folder.
std::string DigestManifest(const std::vector<ManifestFile>& files);
// Three levels, then Date, Version, Content per entry.
std::string ChangeLogManifest(const std::vector<ChangeEntry>& entries);
// Text with &, < and > escaped, for element content.
std::string XmlEscaped(const std::string& text);
