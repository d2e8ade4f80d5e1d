#include "nightcap/app/SettingsFile.h"

#include <windows.h>

#include <vector>

#include "common/OwnProgram.h"
#include "nightcap/online/CodePages.h"

namespace nightcap {

ScheduleSettings InterpretSettings(const std::string& time, const std::string& hour, const std::string& minute) {
    ScheduleSettings s;
    s.mode = time == "1" ? ScheduleMode::Countdown : ScheduleMode::ClockTime;
    s.hour = hour.empty() ? "12" : hour;
    s.minute = minute.empty() ? "30" : minute;
    s.defaultsInUse = hour.empty() || minute.empty();
    return s;
}

std::string ProgramFolder() {
    const std::wstring folder = OwnProgramFolder();
    if (folder.empty()) return ".";
    // Nightcap's paths are ANSI (GBK) texts, as GetModuleFileNameA gives them; without the last backslash.
    return CodePageFromWide(CP_ACP, folder.c_str(), int(folder.size()) - 1, false);
}

std::string SettingsPath(const std::string& folder) { return folder + "/config.ini"; }

std::string SettingsFile::ReadKey(const char* key) const {
    std::vector<char> buffer(10240);
    DWORD n = GetPrivateProfileStringA("set", key, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                       path_.c_str());
    return std::string(buffer.data(), n);
}

ScheduleSettings SettingsFile::Load() const { return InterpretSettings(ReadKey("time"), ReadKey("hour"), ReadKey("min")); }

void SettingsFile::Save(bool clockTimeHighlighted, const std::string& hour, const std::string& minute) const {
    WritePrivateProfileStringA("set", "time", clockTimeHighlighted ? "0" : "1", path_.c_str());
    WritePrivateProfileStringA("set", "hour", hour.c_str(), path_.c_str());
    WritePrivateProfileStringA("set", "min", minute.c_str(), path_.c_str());
}

PowerChoice SettingsFile::LoadPowerChoice() const {
    return InterpretPowerSettings(ReadKey("action"), ReadKey("force"));
}

void SettingsFile::SavePowerChoice(const PowerChoice& choice) const {
    WritePrivateProfileStringA("set", "action", ActionKey(choice.action), path_.c_str());
    WritePrivateProfileStringA("set", "force", choice.force ? "1" : "0", path_.c_str());
}

}  // namespace nightcap
