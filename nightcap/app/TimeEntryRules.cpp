#include "nightcap/app/TimeEntryRules.h"

#include "nightcap/app/ScheduleRules.h"
#include "nightcap/app/SliderGeometry.h"

namespace nightcap {

std::optional<std::string> CommittedLabel(TimeField field, const std::string& typed) {
    if (typed.empty()) return std::nullopt;
    int v = NumberFromText(typed);
    int last = field == TimeField::Hour ? 23 : 59;
    if (v > last) return TwoDigits(last);
    return TwoDigits(v);
}

int PercentForLabel(TimeField field, const std::string& label) {
    int value = NumberFromText(label);
    return field == TimeField::Hour ? PercentFromHour(value) : PercentFromMinute(value);
}

}  // namespace nightcap
