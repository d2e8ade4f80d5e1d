#include "server/GetAndPost.h"

namespace server {

void GetAndPost(HttpServer& server, const std::string& pattern, const HttpServer::Handler& handler,
                HttpServer::Speed speed) {
    server.Get(pattern, handler, speed);
    server.Post(pattern, handler, speed);
}

}  // namespace server
