// config.ini beside the program: the [set] section keeps the schedule mode and the hour and minute texts,
// read at start-up and written only when the user closes the program; and, after them, the power action
// and whether it forces programs to close ("action", "force"), written only when the user chooses them.
#pragma once
#include <string>

#include "nightcap/app/ScheduleRules.h"

namespace nightcap {

// What the [set] keys mean: "1" in time is the countdown, anything else clock time; an empty hour or minute
// stands for 12 or 30 and marks the defaults as in use.
struct ScheduleSettings {
    ScheduleMode mode = ScheduleMode::ClockTime;
    std::string hour;
    std::string minute;
    bool defaultsInUse = false;
};
ScheduleSettings InterpretSettings(const std::string& time, const std::string& hour, const std::string& minute);

// The folder of the running program, without a trailing separator.
std::string ProgramFolder();
// folder + "/config.ini" (the profile functions take the forward slash).
std::string SettingsPath(const std::string& folder);

class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}
    ScheduleSettings Load() const;
    // time is "0" when the clock-time tab is the highlighted one, else "1"; hour and minute as shown.
    void Save(bool clockTimeHighlighted, const std::string& hour, const std::string& minute) const;
    PowerChoice LoadPowerChoice() const;
    void SavePowerChoice(const PowerChoice& choice) const;
    const std::string& Path() const { return path_; }

private:
    std::string ReadKey(const char* key) const;
    std::string path_;
};

}  // namespace nightcap
