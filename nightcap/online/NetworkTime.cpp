#include "nightcap/online/NetworkTime.h"

#include "lib/xml/XmlDocument.h"
#include "lib/xml/XmlPath.h"

namespace nightcap {

const char kTimePagePath[] = "/timeflash.asp?user=flash";

namespace {

constexpr int kBeijingOffsetHours = 8;
constexpr int kFirstClockYear = 1601, kLastClockYear = 30827;  // what a Windows clock can hold

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

int LeadingDigits(const std::u16string& text) {
    long number = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') break;
        number = number * 10 + (c - u'0');
        if (number > 99999) break;  // far outside every field's range
    }
    return static_cast<int>(number);
}

}  // namespace

std::optional<ClockFields> ReadTimeReply(const Bytes& reply) {
    XmlDocument document;
    if (reply.empty() || !document.LoadBytes(reply.data(), reply.size())) return std::nullopt;
    ClockFields fields;
    struct Field {
        const char16_t* path;
        int* value;
    } paths[] = {
        {u"@1/@1/year", &fields.year},     {u"@1/@1/month", &fields.month},   {u"@1/@1/day", &fields.day},
        {u"@1/@1/hour", &fields.hour},     {u"@1/@1/minite", &fields.minute}, {u"@1/@1/second", &fields.second},
    };
    for (const Field& field : paths) {
        const std::optional<std::u16string> text = PathText(document, field.path);
        if (!text) return std::nullopt;
        *field.value = LeadingDigits(*text);
    }
    return fields;
}

std::optional<ClockFields> BeijingToUtc(const ClockFields& beijing) {
    ClockFields t = beijing;
    if (t.year < kFirstClockYear || t.year > kLastClockYear || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 ||
        t.second < 0 || t.second > 59)
        return std::nullopt;
    t.hour -= kBeijingOffsetHours;
    if (t.hour >= 0) return t;
    t.hour += 24;
    if (--t.day >= 1) return t;
    if (--t.month < 1) {
        t.month = 12;
        if (--t.year < kFirstClockYear) return std::nullopt;
    }
    t.day = DaysInMonth(t.year, t.month);
    return t;
}

}  // namespace nightcap
