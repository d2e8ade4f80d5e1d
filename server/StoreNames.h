// Which names may reach the file store. Everything a request or a release folder names is checked here
// before it becomes a path: a product, a version, one path segment, a whole relative path, and the file a
// download-counter address points at.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace server {

// Letters, digits, '-' and '_', 1 to 64 of them.
bool IsProductName(std::string_view name);
// Digits, letters, '.', '-' and '_', 1 to 32 of them, starting with a digit or letter.
bool IsVersionText(std::string_view version);
// A version the updaters compare: 1 to 8 numbers of 1 to 9 digits separated by '.'.
bool IsComparableVersion(std::string_view version);
// One folder or file name that is safe in the store, in the installation folder of a Windows client and
// unescaped in the download counter's address (which the updater does not percent-encode): 1 to 128 of
// letters, digits and . _ - ~ ( ), not "." or "..", no trailing dot, not a reserved device name (COM0 and
// LPT0 included), not an 8.3 short name form such as UPDATE~1.EXE.
bool IsSafeSegment(std::string_view segment);
// "a/b/c" made of safe segments, at most 16 levels; the segments, or nothing when any is not safe.
std::optional<std::vector<std::string>> SafeSegments(std::string_view path);

// The download counter's p_url: "http://" + one of our own hosts + "/download/" + product + "/" + path.
// Gives "product/path" when the address names a file in our own store, nothing otherwise.
std::optional<std::string> OwnDownloadPath(std::string_view url, const std::vector<std::string>& ownHosts);

}  // namespace server
