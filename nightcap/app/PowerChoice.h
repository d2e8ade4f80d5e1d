// The power action the user chose for the end of a schedule, and its names: the word the texts use
// ("关机", "重启"...) and the key config.ini and the command line use ("shutdown", "restart"...).
#pragma once
#include <string>

namespace nightcap {

// 1 to 3 are the ExitWindowsEx requests; 4 to 6 leave the session running.
enum PowerAction { kShutDown = 1, kRestart = 2, kLogOff = 3, kSleep = 4, kHibernate = 5, kLock = 6 };
constexpr int kFirstPowerAction = kShutDown;
constexpr int kLastPowerAction = kLock;

// force: programs are closed whatever they answer; otherwise programs that answer may close themselves
// (and may refuse), and only hung ones are ended.
struct PowerChoice {
    int action = kShutDown;
    bool force = true;
};

// Sleep, hibernate and lock come back to the same session: the schedule has ended once they are asked for.
bool EndsTheSession(int action);

// "关机", "重启", "注销", "睡眠", "休眠", "锁定"; shut down for any other value.
std::string ActionWord(int action);
// "shutdown", "restart", "logoff", "sleep", "hibernate", "lock"; shut down for any other value.
const char* ActionKey(int action);
// The action of a key, case-insensitive; false for anything else.
bool ParseActionKey(const std::string& key, int* action);

// config.ini's [set] action and force: an unknown or missing action is a shut-down, force is on unless "0".
PowerChoice InterpretPowerSettings(const std::string& action, const std::string& force);

}  // namespace nightcap
