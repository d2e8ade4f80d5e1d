// The Windows side of the suite's loopback HTTP server: finds it, gives it canned replies and reads back
// the requests it recorded. The control requests go over plain sockets, not through the HTTP stacks under
// test. Tests that share the server (ctest runs test programs in parallel) keep apart by the path prefix
// of UniquePath.
#pragma once
#include <string>
#include <utility>
#include <vector>

struct RecordedRequest {
    std::string method;
    std::string target;  // path and query as sent
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // How many header lines have this name (ignoring case).
    int HeaderCount(const std::string& name) const;
    // The value of the first such line, or the empty text.
    std::string Header(const std::string& name) const;
};

class LoopbackServer {
public:
    // Reads the port the fixture's server wrote; Port() is 0 when there is none.
    LoopbackServer();
    // The server listening on this loopback port.
    explicit LoopbackServer(int port) : port_(port) {}
    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" + path.
    std::string Url(const std::string& path) const;
    // A path no other test uses: "/" + name + "-" + process id + "-" + counter.
    static std::string UniquePath(const std::string& name);

    // Replies to every request for path (without query) with status, the header lines ("Name: value\r\n"
    // each) and the body.
    bool SetReply(const std::string& path, const std::string& headerLines, const std::string& body, int status = 200);
    // A reply that announces the whole body and breaks the connection after sentBytes of it.
    bool SetCutReply(const std::string& path, const std::string& body, size_t sentBytes);
    // Requests for path are taken and left unanswered (a server that accepts and says nothing) until
    // Release(path) or a new reply for it; then they get this body. The server gives up holding after 90 s.
    bool SetHeldReply(const std::string& path, const std::string& body);
    // A reply whose body goes out one byte a second.
    bool SetSlowReply(const std::string& path, const std::string& body);
    bool Release(const std::string& path);
    // The requests whose target begins with prefix, in the order they arrived.
    std::vector<RecordedRequest> Requests(const std::string& prefix) const;

private:
    // A control request ("reply?...", "release?...") that the server answers "ok".
    bool Control(const std::string& request, const std::string& body) const;
    // One request over a fresh connection; the reply body, or false when the server did not answer.
    bool Exchange(const std::string& method, const std::string& target, const std::string& body,
                  std::string& replyBody) const;

    int port_ = 0;
};
