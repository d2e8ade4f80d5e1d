// Routes a path for GET (and HEAD) and for POST. The product's POSTs carry no body, and its HTTP stack may
// send them without a Content-Length, which a plain POST route refuses (400); so the POST side reads a body
// only when the request announces one, and drops it.
#pragma once
#include <httplib.h>

#include <string>

void GetAndPost(httplib::Server& server, const std::string& pattern, const httplib::Server::Handler& handler);
