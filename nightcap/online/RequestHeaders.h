// The header block that Request sends: the caller's lines, completed with ours.
#pragma once
#include <cstddef>
#include <string>

namespace nightcap {

// Appends, each only when the block does not already name it (ignoring case), the default Accept line,
// "Referer: " with the full url, and "Accept-Language: zh-cn".
void CompleteRequestHeaders(std::string& headers, const std::string& url);

// Appends the form content type and the body length for a POST with a body.
void AppendBodyHeaders(std::string& headers, size_t bodyLength);

}  // namespace nightcap
