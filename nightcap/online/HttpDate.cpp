#include "nightcap/online/HttpDate.h"

#include "nightcap/online/CalendarDate.h"
#include "nightcap/online/TextBytes.h"

#include <vector>

namespace nightcap {

namespace {

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::vector<std::string_view> SplitAtSpaces(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t space = text.find(' ', start);
        parts.push_back(text.substr(start, space == std::string_view::npos ? space : space - start));
        if (space == std::string_view::npos) return parts;
        start = space + 1;
    }
}

bool IsDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// "h:m:s" with one or two digits each.
bool ParseClock(std::string_view text, int& hour, int& minute, int& second) {
    int* fields[] = {&hour, &minute, &second};
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t colon = i < 2 ? text.find(':', start) : text.size();
        if (colon == std::string_view::npos) return false;
        const std::string_view digits = text.substr(start, colon - start);
        if (!IsDigits(digits) || digits.size() > 2) return false;
        *fields[i] = int(LeadingNumber(digits));
        start = colon + 1;
    }
    return true;
}

}  // namespace

std::optional<double> ParseHttpDateText(std::string_view text) {
    const std::vector<std::string_view> parts = SplitAtSpaces(text);
    if (parts.size() != 6 || parts[5] != "GMT") return std::nullopt;
    const long year = LeadingNumber(parts[3]);
    if (year < 2009 || year > 5000) return std::nullopt;
    int month = 0;
    while (month < 12 && parts[2] != kMonths[month]) ++month;
    if (month == 12) return std::nullopt;
    const long day = LeadingNumber(parts[1]);
    if (day < 1 || day > 31) return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    double date = 0;
    if (!ParseClock(parts[4], hour, minute, second) ||
        !DateFromCalendar(int(year), month + 1, int(day), hour, minute, second, date))
        return std::nullopt;
    return date;
}

std::string FormatCookieDate(double date) {
    const CalendarTime t = CalendarFromDate(date);
    return std::string(kWeekdays[t.weekday]) + ", " + std::to_string(t.day) + "-" + kMonths[t.month - 1] + "-" +
           std::to_string(t.year) + " " + std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" +
           std::to_string(t.second) + " GMT";
}

double BeijingServerClock(double serverDate, uint32_t elapsedMilliseconds) {
    return serverDate + 8.0 / 24.0 + double(elapsedMilliseconds / 1000) / 86400.0;
}

}  // namespace nightcap
