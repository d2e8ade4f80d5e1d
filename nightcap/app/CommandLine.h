// Nightcap's command line, for scripts and scheduled tasks:
//   /at HH:MM          arm a clock-time schedule
//   /in MINUTES|H:MM   arm a countdown
//   /action NAME       what happens at the end (shutdown, restart, sleep, hibernate, logoff, lock)
//   /cancel            disarm
//   /postpone MINUTES  move the end of the armed schedule
//   /?                 the usage
// Options start with "/" or "-" and are read without regard to case. Without arguments nothing changes.
#pragma once
#include <string>
#include <vector>

#include "nightcap/app/ScheduleRules.h"

namespace nightcap {

struct NightcapCommand {
    bool help = false;
    bool arm = false;  // /at or /in
    ScheduleMode mode = ScheduleMode::ClockTime;
    HourMinute time;   // the clock time of /at, the length of /in
    int action = 0;    // 0: the action stays as it is
    bool cancel = false;
    int postponeMinutes = 0;

    bool Empty() const { return !help && !arm && action == 0 && !cancel && postponeMinutes == 0; }
};

// The words of a command line; double quotes group and are dropped.
std::vector<std::string> SplitArguments(const std::string& commandLine);
// False, with the reason as the message box shows it, for anything it does not understand or that
// contradicts itself (/at with /in, /cancel with anything else, an option given twice).
bool ParseCommand(const std::vector<std::string>& arguments, NightcapCommand* command, std::string* error);

extern const char* const kUsageText;

}  // namespace nightcap
