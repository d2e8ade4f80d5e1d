#include "GetAndPost.h"

void GetAndPost(HttpServer& server, const std::string& pattern, const HttpServer::Handler& handler) {
    server.Get(pattern, handler);
    server.Post(pattern, handler);
}
