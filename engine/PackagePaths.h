// Paths inside the engine: mount points, module paths and package item names compare after
// normalisation (both separators, any case of ASCII letters, runs of separators counting as one).
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

// "\" separators, no repeats, no trailing one, ASCII letters in lower case.
std::wstring NormalisePath(std::wstring_view path);

// The archive path of a package target "xar@file://" + path + "$"; false when target is not of that form.
bool ParsePackageTarget(std::wstring_view target, std::wstring* archivePath);

// Mount points and the archives behind them.
class MountTable {
public:
    void Mount(std::wstring_view point, const std::wstring& archivePath);
    // The archive behind the longest mount point that path is at or below, and the rest of the path
    // (normalised, relative). False when no mount point covers path.
    bool Resolve(std::wstring_view path, std::wstring* archivePath, std::wstring* inner) const;
    void Clear() { points_.clear(); }

private:
    std::map<std::wstring, std::wstring> points_;  // normalised point -> archive path
};
