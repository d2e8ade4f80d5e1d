// The network time page: its reply (an XML document whose root's first child holds year, month, day, hour,
// "minite" and second, in Beijing time) and the UTC time the clock is set to.
#pragma once
#include <optional>

#include "nightcap/online/TextBytes.h"

namespace nightcap {

extern const char kTimePagePath[];  // "/timeflash.asp?user=flash"

struct ClockFields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool operator==(const ClockFields& o) const {
        return year == o.year && month == o.month && day == o.day && hour == o.hour && minute == o.minute &&
               second == o.second;
    }
};

// The six numbers of the reply (each read from its leading digits); nothing when the bytes are not an XML
// document or any of the six elements is missing.
std::optional<ClockFields> ReadTimeReply(const Bytes& reply);

// Beijing time (UTC+8) to UTC, carrying into the day, month and year before. Nothing when a field is
// outside its calendar range or the year outside 1601..30827, what a Windows clock holds.
std::optional<ClockFields> BeijingToUtc(const ClockFields& beijing);

}  // namespace nightcap
