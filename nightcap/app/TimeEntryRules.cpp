#include "TimeEntryRules.h"

#include <climits>

#include "SliderGeometry.h"

int LeadingNumber(const std::string& text) {
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

std::optional<std::string> CommittedLabel(TimeField field, const std::string& typed) {
    if (typed.empty()) return std::nullopt;
    int v = LeadingNumber(typed);
    int last = field == TimeField::Hour ? 23 : 59;
    if (v > last) return TwoDigitText(last);
    return TwoDigitText(v);
}

int PercentForLabel(TimeField field, const std::string& label) {
    int value = LeadingNumber(label);
    return field == TimeField::Hour ? PercentFromHour(value) : PercentFromMinute(value);
}
