// The cookies of HttpClient, in WinINet's cookie store under "http://" + host.
#include "nightcap/online/HttpClient.h"

#include "nightcap/online/CookieText.h"
#include "nightcap/online/HttpClientInternal.h"

#include <wininet.h>

#include <vector>

namespace nightcap {

namespace {

std::string CookieUrl(const std::string& host) { return "http://" + host; }

// The whole cookie text of a URL, however long (GetCookie gives up beyond 255 bytes).
std::string AllCookies(const std::string& url) {
    DWORD size = 0;
    if (!::InternetGetCookieA(url.c_str(), nullptr, nullptr, &size) || size == 0) return std::string();
    std::vector<char> cookies(size + 1, '\0');
    if (!::InternetGetCookieA(url.c_str(), nullptr, cookies.data(), &size)) return std::string();
    return std::string(cookies.data());
}

}  // namespace

void StoreReplyCookies(const std::string& host, const std::string& rawHeaders) {
    for (const ReplyCookie& cookie : ReplyCookies(rawHeaders))
        ::InternetSetCookieA(CookieUrl(host).c_str(), cookie.name.c_str(), cookie.data.c_str());
}

bool HttpClient::SetCookie(const std::string& url, const std::string& name, const std::string& value,
                           double expiry) {
    const std::string host = UrlHost(url);
    if (name.empty()) return DeleteSiteCookies(host);
    std::string data = CookieData(value, expiry);
    ::InternetSetCookieA(CookieUrl(host).c_str(), name.c_str(), data.c_str());
    data += "; domain=" + SiteDomain(host);
    return ::InternetSetCookieA(CookieUrl(host).c_str(), name.c_str(), data.c_str()) != FALSE;
}

std::string HttpClient::GetCookie(const std::string& url, const std::string& name) {
    char cookies[256] = {};
    DWORD size = 255;
    if (!::InternetGetCookieA(CookieUrl(UrlHost(url)).c_str(), nullptr, cookies, &size)) return std::string();
    return CookieValue(cookies, name);
}

bool HttpClient::DeleteSiteCookies(const std::string& site) {
    // Read whole: a long cookie text must not pass for no cookies at all.
    const std::string siteUrl = CookieUrl(site);
    std::string cookies = AllCookies(siteUrl);
    while (!cookies.empty() && cookies.find('=') != std::string::npos) {
        const std::string name = cookies.substr(0, cookies.find('='));
        std::string data = CookieData("", 0.0);
        ::InternetSetCookieA(siteUrl.c_str(), name.c_str(), data.c_str());
        data += "; domain=" + SiteDomain(site);
        ::InternetSetCookieA(siteUrl.c_str(), name.c_str(), data.c_str());
        const std::string remaining = AllCookies(siteUrl);
        if (remaining == cookies) return false;
        cookies = remaining;
    }
    return true;
}

}  // namespace nightcap
