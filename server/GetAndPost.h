// Routes a path for GET (and HEAD) and for POST. The product's POSTs carry no body, and its HTTP stack may
// send them without a Content-Length; the server's front reads past any small body before a route runs.
#pragma once
#include "server/HttpServer.h"

#include <string>

namespace server {

void GetAndPost(HttpServer& server, const std::string& pattern, const HttpServer::Handler& handler,
                HttpServer::Speed speed = HttpServer::Speed::Fast);

}  // namespace server
