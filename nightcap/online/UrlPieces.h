// The pieces of an "http://" URL, or of one with no scheme at all. Any other scheme is not recognised:
// its scheme word becomes the host.
#pragma once
#include <string>

namespace nightcap {

// The authority up to its first ":", lower-cased.
std::string UrlHost(const std::string& url);
// The number after the authority's first ":" (leading digits); 80 when there is no ":". A number above
// 65535 gives 0.
int UrlPort(const std::string& url);
// From the first "/" at or after the host (after the scheme) to the end, query included; "/" when there is none.
std::string UrlPath(const std::string& url);

}  // namespace nightcap
