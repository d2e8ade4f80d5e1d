#include "server/StoreNames.h"

#include <algorithm>
#include <cctype>

namespace server {

namespace {

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension, in any case.
bool IsWindowsDeviceName(std::string_view segment) {
    const std::string_view stem = segment.substr(0, segment.find('.'));
    for (const char* name : {"CON", "PRN", "AUX", "NUL"}) {
        if (EqualsIgnoringCase(stem, name))
            return true;
    }
    return stem.size() == 4 && (EqualsIgnoringCase(stem.substr(0, 3), "COM") ||
                                EqualsIgnoringCase(stem.substr(0, 3), "LPT")) &&
           stem[3] >= '0' && stem[3] <= '9';
}

// "~" and digits before a dot or at the end: an 8.3 short name, which the updater refuses.
bool IsShortNameForm(std::string_view segment) {
    for (size_t tilde = segment.find('~'); tilde != std::string_view::npos; tilde = segment.find('~', tilde + 1)) {
        size_t end = tilde + 1;
        while (end < segment.size() && segment[end] >= '0' && segment[end] <= '9')
            ++end;
        if (end > tilde + 1 && (end == segment.size() || segment[end] == '.'))
            return true;
    }
    return false;
}

}  // namespace

bool IsProductName(std::string_view name) {
    return !name.empty() && name.size() <= 64 &&
           std::all_of(name.begin(), name.end(), [](char c) { return IsAsciiAlnum(c) || c == '-' || c == '_'; });
}

bool IsVersionText(std::string_view version) {
    return !version.empty() && version.size() <= 32 && IsAsciiAlnum(version[0]) &&
           std::all_of(version.begin(), version.end(),
                       [](char c) { return IsAsciiAlnum(c) || c == '.' || c == '-' || c == '_'; });
}

bool IsComparableVersion(std::string_view version) {
    size_t parts = 0;
    while (true) {
        const size_t dot = std::min(version.find('.'), version.size());
        const std::string_view part = version.substr(0, dot);
        if (part.empty() || part.size() > 9 || ++parts > 8 ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        if (dot == version.size())
            return true;
        version.remove_prefix(dot + 1);
    }
}

bool IsSafeSegment(std::string_view segment) {
    if (segment.empty() || segment.size() > 128 || segment == "." || segment == ".." || segment.back() == '.')
        return false;
    return std::all_of(segment.begin(), segment.end(),
                       [](char c) { return IsAsciiAlnum(c) || std::string_view("._-~()").find(c) != std::string_view::npos; }) &&
           !IsWindowsDeviceName(segment) && !IsShortNameForm(segment);
}

std::optional<std::vector<std::string>> SafeSegments(std::string_view path) {
    std::vector<std::string> segments;
    size_t start = 0;
    while (true) {
        const size_t slash = path.find('/', start);
        const std::string_view segment =
            path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (!IsSafeSegment(segment) || segments.size() == 16)
            return std::nullopt;
        segments.emplace_back(segment);
        if (slash == std::string_view::npos)
            return segments;
        start = slash + 1;
    }
}

std::optional<std::string> OwnDownloadPath(std::string_view url, const std::vector<std::string>& ownHosts) {
    constexpr std::string_view scheme = "http://";
    if (url.size() > 2048 || !EqualsIgnoringCase(url.substr(0, scheme.size()), scheme))
        return std::nullopt;
    url.remove_prefix(scheme.size());
    const size_t slash = url.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view host = url.substr(0, slash);
    if (std::none_of(ownHosts.begin(), ownHosts.end(),
                     [&](const std::string& own) { return !own.empty() && EqualsIgnoringCase(own, host); }))
        return std::nullopt;
    constexpr std::string_view tree = "/download/";
    const std::string_view path = url.substr(slash);
    if (path.substr(0, tree.size()) != tree)
        return std::nullopt;
    const std::string_view rest = path.substr(tree.size());
    const auto segments = SafeSegments(rest);
    // A product and at least one name under it.
    if (!segments || segments->size() < 2 || !IsProductName((*segments)[0]))
        return std::nullopt;
    return std::string(rest);
}

}  // namespace server
