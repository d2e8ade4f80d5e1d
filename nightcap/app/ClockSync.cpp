// Thread A: the clock is set once per start from the network time page (Beijing time).
#include "nightcap/app/ClockSync.h"

#include <windows.h>

#include "common/ServerHosts.h"
#include "nightcap/app/OnlineHooks.h"
#include "nightcap/app/ProgramHttp.h"
#include "nightcap/app/SystemClock.h"
#include "nightcap/app/TrayIcon.h"
#include "nightcap/online/NetworkTime.h"

namespace nightcap {

bool SetClockFromTimeReply(const Bytes& reply) {
    const std::optional<ClockFields> beijing = ReadTimeReply(reply);
    if (!beijing) return false;
    const std::optional<ClockFields> utc = BeijingToUtc(*beijing);
    if (!utc) return false;
    SYSTEMTIME clock = {};
    clock.wYear = static_cast<WORD>(utc->year);
    clock.wMonth = static_cast<WORD>(utc->month);
    clock.wDayOfWeek = 0xFFFF;  // ignored by Windows
    clock.wDay = static_cast<WORD>(utc->day);
    clock.wHour = static_cast<WORD>(utc->hour);
    clock.wMinute = static_cast<WORD>(utc->minute);
    clock.wSecond = static_cast<WORD>(utc->second);
    return SetSystemClock(clock);
}

void SynchroniseClockOnce() {
    // Only a clock that was really set is announced (a user without the right to change it hears nothing).
    if (SetClockFromTimeReply(ProgramHttp().PostBytes(ServerUrl(ServerRole::TimePage, kTimePagePath))))
        ShowBalloon("友情提醒！", "您的电脑已校准为标准北京时间！", kBalloonInfo);
}

}  // namespace nightcap
