#include "nightcap/app/PowerChoice.h"

#include <cctype>

namespace nightcap {

namespace {

struct ActionName {
    int action;
    const char* key;
    const char* word;
};

const ActionName kNames[] = {
    {kShutDown, "shutdown", "关机"}, {kRestart, "restart", "重启"},   {kLogOff, "logoff", "注销"},
    {kSleep, "sleep", "睡眠"},       {kHibernate, "hibernate", "休眠"}, {kLock, "lock", "锁定"},
};

const ActionName& NameOf(int action) {
    for (const ActionName& name : kNames)
        if (name.action == action) return name;
    return kNames[0];
}

}  // namespace

bool EndsTheSession(int action) { return action != kSleep && action != kHibernate && action != kLock; }

std::string ActionWord(int action) { return NameOf(action).word; }

const char* ActionKey(int action) { return NameOf(action).key; }

bool ParseActionKey(const std::string& key, int* action) {
    std::string lower;
    for (char c : key) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const ActionName& name : kNames)
        if (lower == name.key) {
            *action = name.action;
            return true;
        }
    return false;
}

PowerChoice InterpretPowerSettings(const std::string& action, const std::string& force) {
    PowerChoice choice;
    if (!ParseActionKey(action, &choice.action)) choice.action = kShutDown;
    choice.force = force != "0";
    return choice;
}

}  // namespace nightcap
