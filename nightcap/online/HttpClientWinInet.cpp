// The WinINet side of HttpClient: requests with our headers and the reply's cookies, plain URL fetches,
// and the connection state.
#include "nightcap/online/HttpClient.h"

#include "common/Handles.h"
#include "nightcap/online/ConnectionReport.h"
#include "nightcap/online/HttpClientInternal.h"
#include "nightcap/online/RequestHeaders.h"

namespace nightcap {

namespace {

const char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

std::string TrimSpaces(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

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

// The raw reply headers, when they fit in 1024 bytes.
std::string RawReplyHeaders(HINTERNET request) {
    char raw[1024] = {};
    DWORD size = sizeof raw;
    if (!::HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, raw, &size, nullptr)) return std::string();
    return std::string(raw, size < sizeof raw ? size : sizeof raw);
}

}  // namespace

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

    StoreReplyCookies(host, rawHeaders);
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

}  // namespace nightcap
