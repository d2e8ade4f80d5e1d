#include "server/HttpAnswer.h"

#include "server/ByteRanges.h"
#include "server/RequestHead.h"

namespace server {

namespace {

const char* ReasonPhrase(int status) {
    switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 413: return "Payload Too Large";
    case 414: return "URI Too Long";
    case 416: return "Range Not Satisfiable";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    case 505: return "HTTP Version Not Supported";
    default: return "Unknown";
    }
}

std::string StatusLine(int status) {
    return "HTTP/1.1 " + std::to_string(status) + " " + ReasonPhrase(status) + "\r\n";
}

}  // namespace

AnswerPlan PlanAnswer(const httplib::Request& req, httplib::Response& res, bool close) {
    if (res.status == -1)
        res.status = 200;
    const uint64_t size = res.content_provider_ ? res.content_length_ : res.body.size();
    AnswerPlan plan;
    plan.length = size;
    std::string contentRange;
    if (res.status == 200 && (req.method == "GET" || req.method == "HEAD")) {
        const RangeChoice range = ChooseRange(req.get_header_value("Range"), size);
        if (range.kind == RangeChoice::Kind::Part) {
            res.status = 206;
            plan.first = range.first;
            plan.length = range.length;
            const uint64_t last = range.first + range.length - 1;
            contentRange =
                "bytes " + std::to_string(range.first) + "-" + std::to_string(last) + "/" + std::to_string(size);
        } else if (range.kind == RangeChoice::Kind::Unsatisfiable) {
            res.status = 416;
            plan.length = 0;
            contentRange = "bytes */" + std::to_string(size);
            res.headers.erase("Content-Type");
        }
    }
    plan.head = StatusLine(res.status);
    for (const auto& [name, value] : res.headers) {
        if (!EqualsIgnoringCase(name, "Content-Length") && !EqualsIgnoringCase(name, "Connection"))
            plan.head += name + ": " + value + "\r\n";
    }
    if (res.content_provider_)
        plan.head += "Accept-Ranges: bytes\r\n";
    if (!contentRange.empty())
        plan.head += "Content-Range: " + contentRange + "\r\n";
    plan.head += "Content-Length: " + std::to_string(plan.length) + "\r\n";
    if (close)
        plan.head += "Connection: close\r\n";
    else if (req.version == "HTTP/1.0")
        plan.head += "Connection: keep-alive\r\n";  // an HTTP/1.0 client waits for the end otherwise
    plan.head += "\r\n";
    if (req.method == "HEAD")
        plan.length = 0;
    return plan;
}

std::string RefusalAnswer(int status) {
    const std::string text = ReasonPhrase(status);
    return StatusLine(status) + "Content-Type: text/plain; charset=utf-8\r\nContent-Length: " +
           std::to_string(text.size()) + "\r\nConnection: close\r\n\r\n" + text;
}

}  // namespace server
