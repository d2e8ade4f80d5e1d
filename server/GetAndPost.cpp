#include "GetAndPost.h"

void GetAndPost(httplib::Server& server, const std::string& pattern, const httplib::Server::Handler& handler) {
    server.Get(pattern, handler);
    server.Post(pattern, [handler](const httplib::Request& req, httplib::Response& res,
                                   const httplib::ContentReader& content) {
        if (req.has_header("Content-Length") || req.has_header("Transfer-Encoding"))
            content([](const char*, size_t) { return true; });
        handler(req, res);
    });
}
