// The scheduler reads its hour and minute from label texts that config.ini may fill with anything: any text and
// any clock fields (the tick before may be any time, as after a sleep) must give a decision without overflow or
// out-of-bounds access; a postponed target stays on the clock; the command line takes any bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "nightcap/app/CommandLine.h"
#include "nightcap/app/ScheduleRules.h"

using namespace nightcap;

namespace {
int TakeInt(const uint8_t*& data, size_t& size) {
    int32_t value = 0;
    size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

LocalTime ClockFields(const uint8_t*& data, size_t& size) {
    LocalTime t;
    t.year = TakeInt(data, size);
    t.month = TakeInt(data, size);
    t.day = TakeInt(data, size);
    t.hour = static_cast<uint8_t>(TakeInt(data, size)) % 24;  // a clock never shows more
    t.minute = static_cast<uint8_t>(TakeInt(data, size)) % 60;
    t.second = static_cast<uint8_t>(TakeInt(data, size)) % 60;
    return t;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LocalTime start = ClockFields(data, size);
    LocalTime now = ClockFields(data, size);
    LocalTime previous = ClockFields(data, size);
    int postponed = TakeInt(data, size);
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t cut = text.find('\n');
    std::string hour = text.substr(0, cut);
    std::string minute = cut == std::string::npos ? std::string() : text.substr(cut + 1);
    for (ScheduleMode mode : {ScheduleMode::ClockTime, ScheduleMode::Countdown}) {
        TickDecision tick = DecideTick(mode, start, now, hour, minute);
        if (tick.due && tick.remainingText.empty()) __builtin_trap();
        ArmedSchedule armed;
        armed.mode = mode;
        armed.start = start;
        armed.hourText = hour;
        armed.minuteText = minute;
        armed.postponedMinutes = postponed;
        armed.fiveMinuteWarningPending = true;
        TickDecision later = DecideTick(armed, previous, now);
        if (later.missed && later.due) __builtin_trap();  // a target minute that is now was not missed
        HourMinute unmoved = TargetOf(ArmedSchedule{mode, start, hour, minute});
        HourMinute moved = TargetOf(armed);
        bool onTheClock = unmoved.hour >= 0 && unmoved.hour < 24 && unmoved.minute >= 0 && unmoved.minute < 60;
        if (onTheClock && (moved.hour < 0 || moved.hour > 23 || moved.minute < 0 || moved.minute > 59))
            __builtin_trap();
    }
    NightcapCommand command;
    std::string error;
    if (!ParseCommand(SplitArguments(text), &command, &error) && error.empty()) __builtin_trap();
    if (DateTimeText(start).size() > 127) __builtin_trap();  // the clock line's buffer
    return 0;
}
