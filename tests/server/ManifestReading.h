// The manifests read back the way the updater walks them, with the project's XML reader.
#pragma once
#include <string>
#include <vector>

struct ReadDigest {
    std::string name, md5, folder;
};
struct ReadChange {
    std::string date, version, content;
};

std::vector<ReadDigest> ReadDigestList(const std::string& xml);
std::vector<ReadChange> ReadChangeLog(const std::string& xml);
std::string Utf8(const std::u16string& text);
