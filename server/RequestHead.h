// The head of one HTTP/1.x request (request line and header fields), read from the front of a buffer that
// may hold less than a whole head, or more (the next requests of a pipelining client). Everything here is
// bounded by HeadLimits: a client cannot make the server hold more than maxHead bytes for a head, however
// it sends it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace server {

struct HeadLimits {
    size_t maxHead = 16 * 1024;   // the whole head, blank line included
    size_t maxTarget = 8 * 1024;  // the request target
    size_t maxFields = 64;        // header fields
};

struct RequestHead {
    std::string method;
    std::string target;
    int minorVersion = 1;  // HTTP/1.0 or HTTP/1.1
    std::vector<std::pair<std::string, std::string>> fields;  // names as sent, values without outer blanks

    // The value of the first field of that name (any case), or nothing.
    const std::string* Field(std::string_view name) const;
};

struct HeadParse {
    enum class State { NeedMore, Complete, Refused };
    State state = State::NeedMore;
    int status = 0;     // Refused: the answer's status (400, 414, 431, 505)
    size_t length = 0;  // Complete: the bytes the head took, leading blank lines included
    RequestHead head;
};

// Reads the head at the front of bytes. NeedMore while the head is incomplete and still within the limits;
// Refused as soon as it cannot be a head within them.
HeadParse ParseRequestHead(std::string_view bytes, const HeadLimits& limits);

// How the request's body is delimited, from its header fields.
struct BodyFraming {
    enum class Kind { None, Length, Chunked, Invalid };
    Kind kind = Kind::None;
    uint64_t length = 0;  // Length: the announced size
    int status = 0;       // Invalid: the answer's status (400, or 501 for a transfer coding other than chunked)
};
// Both Content-Length and Transfer-Encoding, or Content-Lengths that disagree, are refused: a proxy in front
// might delimit the body otherwise and read the rest as a request of its own.
BodyFraming FramingOf(const RequestHead& head);

// Whether the connection stays open after the answer: HTTP/1.1 unless "Connection: close", HTTP/1.0 only
// with "Connection: keep-alive".
bool KeepsAlive(const RequestHead& head);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace server
