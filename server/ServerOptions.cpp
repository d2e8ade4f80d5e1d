#include "server/ServerOptions.h"

#include <ctime>

namespace server {

std::string UtcDay(int64_t seconds) { return UtcTimeText(seconds).substr(0, 10); }

std::string UtcTimeText(int64_t seconds) {
    const time_t t = static_cast<time_t>(seconds);
    tm parts{};
    gmtime_r(&t, &parts);
    char text[32];
    strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::optional<int64_t> ParseUtcTimeText(const std::string& text) {
    tm parts{};
    const char* end = strptime(text.c_str(), "%Y-%m-%dT%H:%M:%SZ", &parts);
    if (text.size() != 20 || end != text.c_str() + text.size() || parts.tm_year < 70)
        return std::nullopt;
    const int64_t seconds = static_cast<int64_t>(timegm(&parts));
    // strptime takes 31 February; the round trip does not.
    if (UtcTimeText(seconds) != text)
        return std::nullopt;
    return seconds;
}

std::optional<TestFault> ParseTestFault(const std::string& text) {
    if (text == "gone-after-log")
        return TestFault{TestFault::Kind::GoneAfterLog, {}};
    const size_t colon = text.find(':');
    const std::string kind = text.substr(0, colon), file = colon == std::string::npos ? "" : text.substr(colon + 1);
    if (file.empty())
        return std::nullopt;
    if (kind == "cut")
        return TestFault{TestFault::Kind::Cut, file};
    if (kind == "corrupt")
        return TestFault{TestFault::Kind::Corrupt, file};
    if (kind == "missing")
        return TestFault{TestFault::Kind::Missing, file};
    return std::nullopt;
}

}  // namespace server
