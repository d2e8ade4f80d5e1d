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
