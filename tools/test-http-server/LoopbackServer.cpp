#include "tools/test-http-server/LoopbackServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cctype>
#include <fstream>

namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), int(a.size()),
                                                     b.data(), int(b.size())) == CSTR_EQUAL;
}

std::string QueryEscape(const std::string& text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.') {
            out += char(c);
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

RecordedRequest ParseRecord(const std::string& text) {
    RecordedRequest r;
    const size_t headEnd = text.find("\r\n\r\n");
    const std::string head = text.substr(0, headEnd);
    r.body = headEnd == std::string::npos ? std::string() : text.substr(headEnd + 4);
    size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const size_t space1 = requestLine.find(' '), space2 = requestLine.rfind(' ');
    r.method = requestLine.substr(0, space1);
    r.target = requestLine.substr(space1 + 1, space2 - space1 - 1);
    while (lineEnd != std::string::npos) {
        const size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string line = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        const size_t colon = line.find(": ");
        if (colon != std::string::npos) r.headers.emplace_back(line.substr(0, colon), line.substr(colon + 2));
    }
    return r;
}

class WinsockSession {
public:
    WinsockSession() { ok_ = ::WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
    ~WinsockSession() {
        if (ok_) ::WSACleanup();
    }
    bool Ok() const { return ok_; }

private:
    WSADATA data_;
    bool ok_;
};

}  // namespace

int RecordedRequest::HeaderCount(const std::string& name) const {
    int count = 0;
    for (const auto& header : headers) count += EqualNoCase(header.first, name);
    return count;
}

std::string RecordedRequest::Header(const std::string& name) const {
    for (const auto& header : headers)
        if (EqualNoCase(header.first, name)) return header.second;
    return std::string();
}

LoopbackServer::LoopbackServer() {
    std::ifstream file(TEST_HTTP_SERVER_PORT_FILE);
    file >> port_;
}

std::string LoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string LoopbackServer::UniquePath(const std::string& name) {
    static LONG counter = 0;
    return "/" + name + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(::InterlockedIncrement(&counter));
}

bool LoopbackServer::SetReply(const std::string& path, const std::string& headerLines, const std::string& body,
                              int status) {
    return Control("reply?path=" + QueryEscape(path) + "&status=" + std::to_string(status),
                   headerLines + "\r\n" + body);
}

bool LoopbackServer::SetCutReply(const std::string& path, const std::string& body, size_t sentBytes) {
    return Control("reply?path=" + QueryEscape(path) + "&cut=" + std::to_string(sentBytes), "\r\n" + body);
}

bool LoopbackServer::SetHeldReply(const std::string& path, const std::string& body) {
    return Control("reply?path=" + QueryEscape(path) + "&hold=1", "\r\n" + body);
}

bool LoopbackServer::SetSlowReply(const std::string& path, const std::string& body) {
    return Control("reply?path=" + QueryEscape(path) + "&slow=1", "\r\n" + body);
}

bool LoopbackServer::Release(const std::string& path) {
    return Control("release?path=" + QueryEscape(path), "");
}

bool LoopbackServer::Control(const std::string& request, const std::string& body) const {
    std::string reply;
    return Exchange("POST", "/_control/" + request, body, reply) && reply == "ok";
}

std::vector<RecordedRequest> LoopbackServer::Requests(const std::string& prefix) const {
    std::string records;
    std::vector<RecordedRequest> requests;
    if (!Exchange("GET", "/_control/requests?prefix=" + QueryEscape(prefix), "", records)) return requests;
    size_t at = 0;
    while (at < records.size()) {
        const size_t newline = records.find('\n', at);
        if (newline == std::string::npos) break;
        const size_t length = std::stoul(records.substr(at, newline - at));
        requests.push_back(ParseRecord(records.substr(newline + 1, length)));
        at = newline + 1 + length;
    }
    return requests;
}

bool LoopbackServer::Exchange(const std::string& method, const std::string& target, const std::string& body,
                              std::string& replyBody) const {
    WinsockSession winsock;
    if (!winsock.Ok() || port_ == 0) return false;
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(u_short(port_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string reply;
    if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
                                    "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        size_t sent = 0;
        while (sent < request.size()) {
            const int n = ::send(s, request.data() + sent, int(request.size() - sent), 0);
            if (n <= 0) break;
            sent += size_t(n);
        }
        char buffer[4096];
        for (int n; (n = ::recv(s, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, size_t(n));
    }
    ::closesocket(s);
    const size_t headEnd = reply.find("\r\n\r\n");
    if (reply.rfind("HTTP/1.1 200", 0) != 0 || headEnd == std::string::npos) return false;
    replyBody = reply.substr(headEnd + 4);
    return true;
}
