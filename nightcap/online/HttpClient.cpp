// What HttpClient does without a stack of its own: the failure value, URL pieces and a page's links. The
// stacks are in HttpClientWinInet.cpp, HttpClientXmlHttp.cpp, HttpClientDownload.cpp,
// HttpClientServerTime.cpp and HttpClientCookies.cpp.
#include "nightcap/online/HttpClient.h"

#include "nightcap/online/PageLinks.h"
#include "nightcap/online/UrlPieces.h"

#include <optional>

namespace nightcap {

Bytes HttpClient::FailureValue() { return Bytes(255, 0); }

std::string HttpClient::UrlHost(const std::string& url) { return nightcap::UrlHost(url); }

int HttpClient::UrlPort(const std::string& url) { return nightcap::UrlPort(url); }

std::string HttpClient::UrlPath(const std::string& url) { return nightcap::UrlPath(url); }

int HttpClient::ExtractLinks(const std::string& url, std::vector<std::string>& links) {
    const std::optional<LinkBases> bases = LinkBasesOf(url);
    if (!bases) return -1;
    const std::vector<std::string> found = LinksOf(PostText(url), *bases);
    links.insert(links.end(), found.begin(), found.end());
    return int(found.size());
}

}  // namespace nightcap
