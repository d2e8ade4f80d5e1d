// A mounted package read into memory: every file of the 7z archive by its normalised path.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

class PackageArchive {
public:
    // Decodes the whole archive held in bytes. False (and nothing kept) when it is damaged, names an item
    // outside the package, or unpacks to more than kMaxUnpacked bytes.
    bool Open(const uint8_t* bytes, size_t size);
    // Reads and decodes the archive file (at most kMaxArchive bytes).
    bool OpenFile(const std::wstring& path);

    // The file's bytes, or null. name is a path inside the package (normalised here).
    const std::string* Find(const std::wstring& name) const;
    size_t FileCount() const { return files_.size(); }

    static constexpr size_t kMaxArchive = 32u << 20;
    static constexpr size_t kMaxUnpacked = 64u << 20;

private:
    std::map<std::wstring, std::string> files_;
};
