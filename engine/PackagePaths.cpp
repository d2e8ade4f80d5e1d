#include "engine/PackagePaths.h"

namespace {
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
}  // namespace

std::wstring NormalisePath(std::wstring_view path) {
    std::wstring out;
    out.reserve(path.size());
    for (wchar_t c : path) {
        if (IsSeparator(c)) {
            if (!out.empty() && out.back() == L'\\') continue;
            out.push_back(L'\\');
        } else {
            out.push_back(c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c);
        }
    }
    if (out.size() > 1 && out.back() == L'\\') out.pop_back();
    return out;
}

bool ParsePackageTarget(std::wstring_view target, std::wstring* archivePath) {
    constexpr std::wstring_view kPrefix = L"xar@file://";
    if (target.size() <= kPrefix.size() + 1 || target.back() != L'$') return false;
    for (size_t i = 0; i < kPrefix.size(); ++i) {
        wchar_t c = target[i];
        if (c >= L'A' && c <= L'Z') c = wchar_t(c - L'A' + L'a');
        if (c != kPrefix[i]) return false;
    }
    std::wstring_view path = target.substr(kPrefix.size(), target.size() - kPrefix.size() - 1);
    // The folder part may end in a separator before "\View.xar": keep one of a run, as the file system would.
    std::wstring out;
    for (wchar_t c : path) {
        if (IsSeparator(c) && !out.empty() && out.back() == L'\\' && out.size() > 2) continue;
        out.push_back(c == L'/' ? L'\\' : c);
    }
    *archivePath = out;
    return true;
}

void MountTable::Mount(std::wstring_view point, const std::wstring& archivePath) {
    points_[NormalisePath(point)] = archivePath;
}

bool MountTable::Resolve(std::wstring_view path, std::wstring* archivePath, std::wstring* inner) const {
    const std::wstring normal = NormalisePath(path);
    const std::wstring* bestPoint = nullptr;
    const std::wstring* bestArchive = nullptr;
    for (const auto& [point, archive] : points_) {
        if (normal.compare(0, point.size(), point) != 0) continue;
        if (normal.size() > point.size() && normal[point.size()] != L'\\' && point != L"\\") continue;
        if (!bestPoint || point.size() > bestPoint->size()) {
            bestPoint = &point;
            bestArchive = &archive;
        }
    }
    if (!bestPoint) return false;
    size_t skip = bestPoint->size();
    if (skip < normal.size() && normal[skip] == L'\\') ++skip;
    *archivePath = *bestArchive;
    *inner = normal.substr(skip);
    return true;
}
