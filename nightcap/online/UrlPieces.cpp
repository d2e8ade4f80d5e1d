#include "nightcap/online/UrlPieces.h"

#include "nightcap/online/TextBytes.h"

namespace nightcap {

namespace {

const std::string kScheme = "http://";

size_t AuthorityStart(const std::string& url) { return StartsWithNoCase(url, kScheme) ? kScheme.size() : 0; }

std::string Authority(const std::string& url) {
    const size_t start = AuthorityStart(url);
    const size_t slash = url.find('/', start);
    return url.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
}

}  // namespace

std::string UrlHost(const std::string& url) {
    const std::string authority = Authority(url);
    return LowerAscii(authority.substr(0, authority.find(':')));
}

int UrlPort(const std::string& url) {
    const std::string authority = Authority(url);
    const size_t colon = authority.find(':');
    if (colon == std::string::npos) return 80;
    const long port = LeadingNumber(std::string_view(authority).substr(colon + 1), 65536);
    return port > 65535 ? 0 : int(port);
}

std::string UrlPath(const std::string& url) {
    // The host is looked for after the scheme: "http://t/x" must not find the "t" of "http".
    const size_t host = FindNoCase(url, UrlHost(url), AuthorityStart(url));
    const size_t slash = host == std::string::npos ? std::string::npos : url.find('/', host);
    return slash == std::string::npos ? "/" : url.substr(slash);
}

}  // namespace nightcap
