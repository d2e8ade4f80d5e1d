#include "server/RequestHead.h"

#include <cctype>

namespace server {

namespace {

// Method, two spaces and "HTTP/1.1" around the target.
constexpr size_t kRequestLineExtra = 32;

bool IsTokenChar(unsigned char c) {
    return std::isalnum(c) || (c != 0 && std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) !=
                                             std::string_view::npos);
}

bool IsToken(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        if (!IsTokenChar(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

// Field values may hold visible characters, blanks and bytes above 127; no other control character.
bool IsFieldValue(std::string_view text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && u != '\t') || u == 0x7f)
            return false;
    }
    return true;
}

// The request target: visible ASCII only (a client percent-encodes everything else).
bool IsTarget(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7f)
            return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The line starting at pos, without its line end ("\r\n" or "\n"); next is where the following line starts.
// False when no line end is in bytes yet.
bool NextLine(std::string_view bytes, size_t pos, std::string_view& line, size_t& next) {
    const size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos)
        return false;
    line = bytes.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    next = end + 1;
    return true;
}

HeadParse Refused(int status) {
    HeadParse parse;
    parse.state = HeadParse::State::Refused;
    parse.status = status;
    return parse;
}

// "METHOD target HTTP/1.x": 0 when it is one, else the status to refuse it with.
int ReadRequestLine(std::string_view line, const HeadLimits& limits, RequestHead& head) {
    const size_t first = line.find(' ');
    const size_t last = line.rfind(' ');
    if (first == std::string_view::npos || first == last)
        return 400;
    const std::string_view method = line.substr(0, first), target = line.substr(first + 1, last - first - 1),
                           version = line.substr(last + 1);
    if (target.size() > limits.maxTarget)
        return 414;
    if (!IsToken(method) || !IsTarget(target))
        return 400;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (version.size() != 8 || version.compare(0, 5, "HTTP/") != 0 || !digit(version[5]) || version[6] != '.' ||
        !digit(version[7]))
        return 400;
    if (version[5] != '1' || (version[7] != '0' && version[7] != '1'))
        return 505;
    head.method = std::string(method);
    head.target = std::string(target);
    head.minorVersion = version[7] - '0';
    return 0;
}

// Whether a comma-separated field value lists the token.
bool ListsToken(std::string_view value, std::string_view token) {
    while (!value.empty()) {
        const size_t comma = value.find(',');
        if (EqualsIgnoringCase(Trimmed(value.substr(0, comma)), token))
            return true;
        if (comma == std::string_view::npos)
            break;
        value.remove_prefix(comma + 1);
    }
    return false;
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

const std::string* RequestHead::Field(std::string_view name) const {
    for (const auto& [fieldName, value] : fields) {
        if (EqualsIgnoringCase(fieldName, name))
            return &value;
    }
    return nullptr;
}

HeadParse ParseRequestHead(std::string_view bytes, const HeadLimits& limits) {
    // Only the first maxHead bytes can hold the head; whatever lies beyond is not looked at.
    const bool full = bytes.size() >= limits.maxHead;
    const std::string_view window = bytes.substr(0, limits.maxHead);
    HeadParse parse;
    size_t pos = 0;
    std::string_view line;
    size_t next = 0;
    // Blank lines before a request are allowed (some clients send one after a body).
    while (NextLine(window, pos, line, next) && line.empty())
        pos = next;
    if (!NextLine(window, pos, line, next)) {
        if (window.size() - pos > limits.maxTarget + kRequestLineExtra)
            return Refused(414);
        return full ? Refused(431) : parse;
    }
    if (const int status = ReadRequestLine(line, limits, parse.head))
        return Refused(status);
    pos = next;
    while (true) {
        if (!NextLine(window, pos, line, next))
            return full ? Refused(431) : parse;
        pos = next;
        if (line.empty())
            break;
        if (parse.head.fields.size() == limits.maxFields)
            return Refused(431);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || !IsToken(line.substr(0, colon)))
            return Refused(400);  // also a folded line, which starts with a blank
        const std::string_view value = Trimmed(line.substr(colon + 1));
        if (!IsFieldValue(value))
            return Refused(400);
        parse.head.fields.emplace_back(std::string(line.substr(0, colon)), std::string(value));
    }
    parse.state = HeadParse::State::Complete;
    parse.length = pos;
    return parse;
}

BodyFraming FramingOf(const RequestHead& head) {
    BodyFraming framing;
    const std::string* lengthText = nullptr;
    int codings = 0;
    for (const auto& [name, value] : head.fields) {
        if (EqualsIgnoringCase(name, "Transfer-Encoding")) {
            ++codings;
            const bool chunked = EqualsIgnoringCase(value, "chunked");
            framing.kind = chunked ? BodyFraming::Kind::Chunked : BodyFraming::Kind::Invalid;
        } else if (EqualsIgnoringCase(name, "Content-Length")) {
            if (lengthText && *lengthText != value)
                return {BodyFraming::Kind::Invalid, 0, 400};
            lengthText = &value;
        }
    }
    if (codings > 0) {
        if (lengthText)
            return {BodyFraming::Kind::Invalid, 0, 400};
        if (codings > 1 || framing.kind == BodyFraming::Kind::Invalid)
            return {BodyFraming::Kind::Invalid, 0, 501};
        return framing;
    }
    if (!lengthText)
        return framing;
    if (lengthText->empty() || lengthText->size() > 18 ||
        lengthText->find_first_not_of("0123456789") != std::string::npos)
        return {BodyFraming::Kind::Invalid, 0, 400};
    framing.length = std::stoull(*lengthText);
    framing.kind = framing.length == 0 ? BodyFraming::Kind::None : BodyFraming::Kind::Length;
    return framing;
}

bool KeepsAlive(const RequestHead& head) {
    bool close = false, keepAlive = false;
    for (const auto& [name, value] : head.fields) {
        if (EqualsIgnoringCase(name, "Connection")) {
            close = close || ListsToken(value, "close");
            keepAlive = keepAlive || ListsToken(value, "keep-alive");
        }
    }
    return !close && (head.minorVersion == 1 || keepAlive);
}

}  // namespace server
