// What goes on the wire for a route's answer: the status line and fields, and which bytes of its content.
// A single byte range of a 200 answer to GET is honoured (206), one past the end is answered 416.
#pragma once
#include <httplib.h>

#include <cstdint>
#include <string>

namespace server {

struct AnswerPlan {
    std::string head;     // status line and fields, blank line included
    uint64_t first = 0;   // the first byte of the content that follows the head
    uint64_t length = 0;  // how many bytes of it follow (none for HEAD)
};

// res.status -1 stands for 200. close: the connection ends after this answer.
AnswerPlan PlanAnswer(const httplib::Request& req, httplib::Response& res, bool close);
// A whole answer without content, for a request refused before any route saw it; the connection ends after it.
std::string RefusalAnswer(int status);

}  // namespace server
