#include "ServerOptions.h"

#include <ctime>

std::string UtcDay(int64_t seconds) {
    const time_t t = static_cast<time_t>(seconds);
    tm parts{};
    gmtime_r(&t, &parts);
    char text[16];
    strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
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
