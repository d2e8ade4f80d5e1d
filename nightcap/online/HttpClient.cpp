#include "nightcap/online/HttpClient.h"

#include "common/Handles.h"
#include "common/RequestLimits.h"
#include "nightcap/online/Automation.h"
#include "nightcap/online/CalendarDate.h"
#include "nightcap/online/CodePages.h"
#include "nightcap/online/ConnectionReport.h"
#include "nightcap/online/CookieText.h"
#include "nightcap/online/HttpDate.h"
#include "nightcap/online/PageLinks.h"
#include "nightcap/online/RequestHeaders.h"
#include "nightcap/online/UrlPieces.h"

#include <urlmon.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

const char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

// Lets the calling thread's windows handle their messages while a request waits. A WM_QUIT taken from
// the queue is posted again for the caller's own loop; false then.
bool PumpPendingMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(int(msg.wParam));
            return false;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

std::string TrimSpaces(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The end of a request begun now: no request of ours runs longer than the program's limit.
class Deadline {
public:
    Deadline() : end_(::GetTickCount64() + kNightcapRequestLimitMs) {}
    bool Passed() const { return ::GetTickCount64() >= end_; }
    DWORD Remaining() const { return Passed() ? 0 : DWORD(end_ - ::GetTickCount64()); }

private:
    ULONGLONG end_;
};

// Connecting, sending and every wait for the next bytes end after the limit. Set on the session and again
// on the connection, which does not take the session's values in every WinINet.
void LimitStages(HINTERNET handle) {
    DWORD limit = kNightcapRequestLimitMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
        ::InternetSetOptionA(handle, option, &limit, sizeof limit);
}

UniqueInternet OpenSession(const std::string& proxy, const char* agent = kAgent) {
    UniqueInternet session;
    if (proxy.empty()) {
        session.Reset(::InternetOpenA(agent, INTERNET_OPEN_TYPE_DIRECT, "", "", 0));
    } else {
        const std::string proxyText = "http=" + proxy;
        session.Reset(::InternetOpenA(agent, INTERNET_OPEN_TYPE_PROXY, proxyText.c_str(), "", 0));
    }
    if (session) LimitStages(session.Get());
    return session;
}

// An answer whose status is not a success (a 404 before the first publish, a proxy's error page) is no
// answer: its body must never pass for the data asked for.
bool AnsweredWithSuccess(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return false;
    return status >= 200 && status < 300;
}

// The whole body, or nothing when the deadline passes first.
std::optional<Bytes> ReadReply(HINTERNET request, const Deadline& deadline) {
    Bytes reply;
    for (;;) {
        unsigned char chunk[512] = {};
        PumpPendingMessages();
        if (deadline.Passed()) return std::nullopt;
        DWORD read = 0;
        if (!::InternetReadFile(request, chunk, sizeof chunk, &read) || read == 0) return reply;
        reply.insert(reply.end(), chunk, chunk + read);
    }
}

// A blocking call run on a thread of its own while this one waits for it, handling its messages, until the
// deadline. A call still running then is left to end by itself and its result is dropped: for stacks that
// take no time limit of their own.
struct PendingCall {
    std::function<Bytes()> call;
    Bytes result;
};

DWORD WINAPI RunPendingCall(void* parameter) {
    const std::unique_ptr<std::shared_ptr<PendingCall>> pending(static_cast<std::shared_ptr<PendingCall>*>(parameter));
    (*pending)->result = (*pending)->call();
    return 0;
}

std::optional<Bytes> CallWithin(const Deadline& deadline, std::function<Bytes()> call) {
    auto pending = std::make_shared<PendingCall>();
    pending->call = std::move(call);
    auto threadsShare = std::make_unique<std::shared_ptr<PendingCall>>(pending);
    const UniqueHandle thread(::CreateThread(nullptr, 0, RunPendingCall, threadsShare.get(), 0, nullptr));
    if (!thread) return std::nullopt;
    threadsShare.release();
    for (;;) {
        const HANDLE handle = thread.Get();
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &handle, FALSE, deadline.Remaining(), QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) return pending->result;
        // Past the deadline, or the thread's loop is to end: the call is dropped.
        if (woken != WAIT_OBJECT_0 + 1 || !PumpPendingMessages()) return std::nullopt;
    }
}

// One synchronous "msxml2.xmlhttp" request (method already lower-cased); empty on any failure, an answer
// whose status is not a success included.
Bytes XmlHttpExchange(const std::string& url, const std::string& verb, const std::string& user,
                      const std::string& password, const std::string& headerName, const std::string& headerValue,
                      const std::string& body) {
    ScopedComInit com;
    AutomationObject xmlHttp;
    if (!xmlHttp.Create(L"msxml2.xmlhttp")) return Bytes();

    ScopedVariant verbArg, urlArg, async, userArg, passwordArg;
    SetText(verbArg, verb);
    SetText(urlArg, url);
    SetBool(async, false);
    bool opened;
    if (user.empty()) {
        opened = xmlHttp.Call(L"open", {verbArg.Get(), urlArg.Get(), async.Get()});
    } else {
        SetText(userArg, user);
        SetText(passwordArg, password);
        opened = xmlHttp.Call(L"open", {verbArg.Get(), urlArg.Get(), async.Get(), userArg.Get(), passwordArg.Get()});
    }
    if (!opened) return Bytes();
    if (!headerName.empty()) {
        ScopedVariant name, value;
        SetText(name, headerName);
        SetText(value, headerValue);
        xmlHttp.Call(L"setRequestHeader", {name.Get(), value.Get()});
    }
    ScopedVariant bodyArg;
    if (!body.empty()) SetText(bodyArg, body);
    if (!xmlHttp.Call(L"send", {bodyArg.Get()})) return Bytes();
    ScopedVariant status;
    if (!xmlHttp.Get(L"status", status.Get()) || FAILED(::VariantChangeType(status.Get(), status.Get(), 0, VT_I4)) ||
        (*status).lVal < 200 || (*status).lVal >= 300)
        return Bytes();

    ScopedVariant response;
    if (!xmlHttp.Get(L"responseBody", response.Get())) return Bytes();
    const VARIANT& v = *response;
    if (v.vt != (VT_ARRAY | VT_UI1) || !v.parray || ::SafeArrayGetDim(v.parray) != 1) return Bytes();
    LONG lower = 0, upper = -1;
    ::SafeArrayGetLBound(v.parray, 1, &lower);
    ::SafeArrayGetUBound(v.parray, 1, &upper);
    Bytes reply;
    void* data = nullptr;
    if (upper >= lower && SUCCEEDED(::SafeArrayAccessData(v.parray, &data))) {
        const auto* p = static_cast<const unsigned char*>(data);
        reply.assign(p, p + (upper - lower + 1));
        ::SafeArrayUnaccessData(v.parray);
    }
    return reply;
}

// The raw reply headers, when they fit in 1024 bytes.
std::string RawReplyHeaders(HINTERNET request) {
    char raw[1024] = {};
    DWORD size = sizeof raw;
    if (!::HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, raw, &size, nullptr)) return std::string();
    return std::string(raw, size < sizeof raw ? size : sizeof raw);
}

std::string CookieUrl(const std::string& host) { return "http://" + host; }

// The whole cookie text of a URL, however long (GetCookie gives up beyond 255 bytes).
std::string AllCookies(const std::string& url) {
    DWORD size = 0;
    if (!::InternetGetCookieA(url.c_str(), nullptr, nullptr, &size) || size == 0) return std::string();
    std::vector<char> cookies(size + 1, '\0');
    if (!::InternetGetCookieA(url.c_str(), nullptr, cookies.data(), &size)) return std::string();
    return std::string(cookies.data());
}

double LocalNow() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    double date = 0;
    DateFromCalendar(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, date);
    return date;
}

}  // namespace

Bytes HttpClient::FailureValue() { return Bytes(255, 0); }

Bytes HttpClient::Request(const std::string& url, const std::string& method, const std::string& proxy,
                          std::string* headers, const std::string& body) {
    std::string ownHeaders;
    std::string& headerText = headers ? *headers : ownHeaders;
    const std::string host = UrlHost(url);
    const std::string path = UrlPath(url);

    const Deadline deadline;
    UniqueInternet session = OpenSession(TrimSpaces(proxy));
    if (!session) return FailureValue();
    UniqueInternet connection(::InternetConnectA(session.Get(), host.c_str(), INTERNET_PORT(UrlPort(url)), "", "",
                                                 INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return FailureValue();
    LimitStages(connection.Get());
    const char* noAcceptTypes[] = {nullptr};
    UniqueInternet request(::HttpOpenRequestA(connection.Get(), method.empty() ? nullptr : method.c_str(),
                                              path.c_str(), "HTTP/1.1", "", noAcceptTypes, INTERNET_FLAG_RELOAD, 0));
    if (!request) return FailureValue();

    CompleteRequestHeaders(headerText, url);
    BOOL sent = FALSE;
    if (method.empty() || method == "GET") {
        sent = ::HttpSendRequestA(request.Get(), headerText.c_str(), DWORD(headerText.size()), nullptr, 0);
    } else if (method == "POST") {
        if (!body.empty()) AppendBodyHeaders(headerText, body.size());
        sent = ::HttpSendRequestA(request.Get(), headerText.c_str(), DWORD(headerText.size()),
                                  body.empty() ? nullptr : const_cast<char*>(body.data()), DWORD(body.size()));
    } else {
        return FailureValue();
    }
    // No server answered (down, unreachable, refused, silent past the limit), or it answered with an error:
    // that is a failure, not an empty reply.
    if (!sent || !AnsweredWithSuccess(request.Get())) return FailureValue();

    const std::optional<Bytes> reply = ReadReply(request.Get(), deadline);
    if (!reply) return FailureValue();
    const std::string rawHeaders = RawReplyHeaders(request.Get());
    request.Reset();
    connection.Reset();
    session.Reset();

    for (const ReplyCookie& cookie : ReplyCookies(rawHeaders))
        ::InternetSetCookieA(CookieUrl(host).c_str(), cookie.name.c_str(), cookie.data.c_str());
    return *reply;
}

std::string HttpClient::PostText(const std::string& url) { return TextOf(PostBytes(url)); }

std::string HttpClient::PostTextWithBody(const std::string& url, const std::string& body) {
    return TextOf(PostBytesWithBody(url, body));
}

Bytes HttpClient::PostBytes(const std::string& url) { return Request(url, "POST"); }

Bytes HttpClient::PostBytesWithBody(const std::string& url, const std::string& body) {
    return Request(url, "POST", "", nullptr, body);
}

Bytes HttpClient::XmlHttpGetBytes(const std::string& url, const std::string& method, const std::string& user,
                                  const std::string& password, const std::string& headerName,
                                  const std::string& headerValue, const std::string& body) {
    PumpPendingMessages();
    const Deadline deadline;
    const std::string verb = method.empty() ? "get" : LowerAscii(method);
    // The object takes no time limit: it runs on a thread of its own, and a request past the limit is dropped.
    return CallWithin(deadline, [=] {
               return XmlHttpExchange(url, verb, user, password, headerName, headerValue, body);
           }).value_or(Bytes());
}

std::string HttpClient::XmlHttpGetText(const std::string& url, const std::string& method, const std::string& user,
                                       const std::string& password, const std::string& headerName,
                                       const std::string& headerValue, const std::string& body) {
    return TextOf(XmlHttpGetBytes(url, method, user, password, headerName, headerValue, body));
}

std::string HttpClient::FetchText(const std::string& url) {
    const Deadline deadline;
    UniqueInternet session = OpenSession("", url.c_str());
    if (!session) return std::string();
    UniqueInternet file(::InternetOpenUrlA(session.Get(), url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
    if (!file || !AnsweredWithSuccess(file.Get())) return std::string();
    std::string text;
    for (;;) {
        PumpPendingMessages();
        if (deadline.Passed()) return std::string();
        char chunk[2048] = {};
        DWORD read = 0;
        if (!::InternetReadFile(file.Get(), chunk, sizeof chunk, &read) || read == 0) return text;
        text += TextOf(Bytes(chunk, chunk + read));
    }
}

bool HttpClient::DownloadToFile(const std::string& url, const std::string& filePath) {
    return ::URLDownloadToFileA(nullptr, url.c_str(), filePath.c_str(), 0, nullptr) == S_OK;
}

bool HttpClient::GetConnectedState(uint32_t& flags, std::string& connectionName) {
    char name[512] = {};
    DWORD state = 0;
    const BOOL connected = ::InternetGetConnectedStateExA(&state, name, sizeof name, 0);
    flags = state;
    connectionName = TextOf(Bytes(name, name + sizeof name));
    return connected == TRUE;
}

std::string HttpClient::DescribeConnection() {
    uint32_t flags = 0;
    std::string name;
    const bool connected = GetConnectedState(flags, name);
    return ConnectionReport(connected, flags, name);
}

double HttpClient::ServerTime(const std::string& baseUrl) {
    ScopedComInit com;
    AutomationObject winHttp;
    if (!winHttp.Create(L"WinHttp.WinHttpRequest.5.1")) return 0.0;
    ScopedVariant resolve, connect, send, receive, redirectsOption, off;
    SetLong(resolve, 5000);
    SetLong(connect, 5000);
    SetLong(send, 10000);
    SetLong(receive, 5000);
    winHttp.Call(L"SetTimeouts", {resolve.Get(), connect.Get(), send.Get(), receive.Get()});

    ScopedVariant verb, url, async;
    SetText(verb, "HEAD");
    SetText(url, baseUrl + "/12.123.aa");
    SetBool(async, false);
    winHttp.Call(L"open", {verb.Get(), url.Get(), async.Get()});
    // The redirect switch goes after open, which resets the request's options in some implementations:
    // the Date must be the answering server's own, not that of a page it redirects to.
    SetLong(redirectsOption, 6);  // WinHttpRequestOption_EnableRedirects
    SetBool(off, false);
    winHttp.PutIndexed(L"Option", redirectsOption.Get(), off.Get());
    const DWORD started = ::GetTickCount();
    ScopedVariant noBody;
    winHttp.Call(L"send", {noBody.Get()});

    ScopedVariant headerName, dateHeader;
    SetText(headerName, "Date");
    winHttp.Call(L"GetResponseHeader", {headerName.Get()}, dateHeader.Get());
    double date = 0;
    ParseHttpDate(TextOfVariant(*dateHeader), date);
    return BeijingServerClock(date, ::GetTickCount() - started);
}

bool HttpClient::ParseHttpDate(const std::string& text, double& date) {
    date = LocalNow();
    const std::optional<double> parsed = ParseHttpDateText(text);
    if (parsed) date = *parsed;
    return parsed.has_value();
}

std::string HttpClient::UrlHost(const std::string& url) { return ::UrlHost(url); }

int HttpClient::UrlPort(const std::string& url) { return ::UrlPort(url); }

std::string HttpClient::UrlPath(const std::string& url) { return ::UrlPath(url); }

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

int HttpClient::ExtractLinks(const std::string& url, std::vector<std::string>& links) {
    const std::optional<LinkBases> bases = LinkBasesOf(url);
    if (!bases) return -1;
    const std::vector<std::string> found = LinksOf(PostText(url), *bases);
    links.insert(links.end(), found.begin(), found.end());
    return int(found.size());
}
