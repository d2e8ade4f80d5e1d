// The program's one HTTP client: WinINet requests with cookies and connection state, the "msxml2.xmlhttp"
// and "WinHttp.WinHttpRequest.5.1" automation objects, and URL downloads.
//
// Every call is synchronous and self-contained: handles and COM objects live only inside it, and each
// request reads its reply into a buffer of its own, so the user-interface thread and the start-up threads
// may use one instance at the same time. Request and FetchText process pending window messages before each
// read (XmlHttpGetBytes while it waits for the thread that runs its request), so a window on the calling thread stays responsive. Failures
// are silent: the empty text, an empty array, false, or Request's failure value. A reply whose status is not
// a success (2xx) is a failure, and so is a request that outlasts the limit of RequestLimits.h.
#pragma once
#include "nightcap/online/TextBytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace nightcap {

class HttpClient {
public:
    // What Request gives when it fails: 255 zero bytes (as text: the empty text).
    static Bytes FailureValue();

    // The WinINet request. method: empty (sends GET), "GET" or "POST", case-sensitive; anything else fails.
    // The caller's header text is completed in place with our default lines (and the body lines of a POST
    // with a body). Cookies a successful reply sets are stored for "http://" + host.
    Bytes Request(const std::string& url, const std::string& method = "", const std::string& proxy = "",
                  std::string* headers = nullptr, const std::string& body = "");
    std::string PostText(const std::string& url);
    std::string PostTextWithBody(const std::string& url, const std::string& body);
    Bytes PostBytes(const std::string& url);
    Bytes PostBytesWithBody(const std::string& url, const std::string& body);

    // Through "msxml2.xmlhttp"; the method is lower-cased ("get" when empty). The user and password are
    // used when a user is given, the header when a header name is given. A failure gives an empty array.
    Bytes XmlHttpGetBytes(const std::string& url, const std::string& method = "", const std::string& user = "",
                          const std::string& password = "", const std::string& headerName = "",
                          const std::string& headerValue = "", const std::string& body = "");
    std::string XmlHttpGetText(const std::string& url, const std::string& method = "", const std::string& user = "",
                               const std::string& password = "", const std::string& headerName = "",
                               const std::string& headerValue = "", const std::string& body = "");

    // A plain GET through InternetOpenUrl; each chunk's text ends at its first zero byte.
    std::string FetchText(const std::string& url);
    bool DownloadToFile(const std::string& url, const std::string& filePath);

    bool GetConnectedState(uint32_t& flags, std::string& connectionName);
    std::string DescribeConnection();

    // The server's clock (Beijing time) from the Date of a HEAD reply for baseUrl + "/12.123.aa", plus the
    // seconds the request took; the local time instead when the Date cannot be read. The zero date when
    // the automation object is missing.
    double ServerTime(const std::string& baseUrl);
    // The out date is the current local time unless the text is a valid HTTP date.
    static bool ParseHttpDate(const std::string& text, double& date);

    static std::string UrlHost(const std::string& url);
    static int UrlPort(const std::string& url);
    static std::string UrlPath(const std::string& url);

    // With a name: writes the cookie (an empty value deletes it), then again with the site's domain. Without
    // a name: deletes every cookie of the url's host; false when a pass leaves them unchanged.
    bool SetCookie(const std::string& url, const std::string& name = "", const std::string& value = "",
                   double expiry = 0.0);
    // The whole cookie text of the url's host, or one cookie's value; the empty text when the cookie text
    // does not fit in 255 bytes.
    std::string GetCookie(const std::string& url, const std::string& name = "");
    // site: a host name without scheme.
    bool DeleteSiteCookies(const std::string& site);

    // Fetches the page with PostText and lists its src and href links, absolute; -1 for an empty url.
    int ExtractLinks(const std::string& url, std::vector<std::string>& links);
};

}  // namespace nightcap
