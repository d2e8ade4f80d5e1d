// Dates as they travel in HTTP headers and cookies.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nightcap {

// An HTTP Date value such as "Sun, 06 Dec 2026 08:30:00 GMT": six parts split at single spaces, the last
// "GMT", a year of 2009..5000, an English month abbreviation and a day of 1..31. The date is returned as
// sent (no zone conversion); the weekday is not checked. Nothing when the text does not have that form.
std::optional<double> ParseHttpDateText(std::string_view text);

// A cookie expiry text, "Mon, 1-Feb-1999 1:1:1 GMT": numbers without leading zeros, the date unconverted.
std::string FormatCookieDate(double date);

// The server's clock in Beijing time: its Date value plus 8 hours plus the whole seconds the request took.
double BeijingServerClock(double serverDate, uint32_t elapsedMilliseconds);

}  // namespace nightcap
