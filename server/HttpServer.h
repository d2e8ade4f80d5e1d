// The server's HTTP/1.1 front. One thread watches every connection (epoll) and reads each request's head and
// body within fixed limits; a request read whole has its route run at once on that thread (the routes answer
// from the database's indexes and small files in microseconds), or by one of a small pool of workers when the
// route is a slow one; the answer is written by the watching thread, file contents a piece at a time. So a
// connection that is slow, idle or sends too much costs a few kilobytes and a file descriptor, never a thread,
// and the routes only ever see whole, bounded requests.
//
// On each connection requests are answered one at a time and in order: the next request (pipelined or not) is
// read once the answer before it is written. Routes take no body: a small one (up to maxBody, by Content-Length
// or chunked) is read past and dropped, a larger one is refused (413) before it is read.
#pragma once
#include "server/RequestHead.h"

#include <httplib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace server {

struct ServerLimits {
    HeadLimits head;
    uint64_t maxBody = 64 * 1024;  // read past and dropped
    size_t maxConnections = 1024;
    size_t maxPerAddress = 64;   // connections open from one client address; 0: no cap (a proxy in front caps)
    int idleSeconds = 5;         // for the first byte of the next request
    int requestSeconds = 10;     // for the whole head and body, from their first byte
    int writeSeconds = 10;       // for any progress while an answer is written
    size_t workers = 4;          // for the slow routes
};

class HttpServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;
    // Fast routes run on the watching thread and must not wait long on anything; slow ones on a worker.
    enum class Speed { Fast, Slow };

    explicit HttpServer(const ServerLimits& limits);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // pattern: a regular expression matched against the whole decoded path; its groups are in req.matches.
    // A GET route answers HEAD too.
    void Get(const std::string& pattern, Handler handler, Speed speed = Speed::Fast);
    void Post(const std::string& pattern, Handler handler, Speed speed = Speed::Fast);
    // Runs on the watching thread once an answer has been written whole.
    void SetAnswered(std::function<void(const httplib::Request&)> answered);

    // Listens on host and port (0: any free port); the port, or -1.
    int Bind(const std::string& host, int port);
    // Serves until Stop(); false when it could not start.
    bool Run();
    // From any thread (or a route, or the answered hook).
    void Stop();

private:
    class Loop;
    std::unique_ptr<Loop> loop_;
};

}  // namespace server
