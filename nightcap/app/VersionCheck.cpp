// The version check (at start-up, from the version label and when the ping asks for it), the 30-minute
// update ping and the start of the updater from the installation's update folder. The requests run on
// threads of their own; their answers are handled here on the user-interface thread.
#include <windows.h>

#include <string>

#include "common/ServerHosts.h"
#include "nightcap/app/BackgroundWork.h"
#include "nightcap/app/ControlText.h"
#include "nightcap/app/OnlineHooks.h"
#include "nightcap/app/ProgramHttp.h"
#include "nightcap/app/TrayIcon.h"
#include "nightcap/online/StatisticsRules.h"

namespace nightcap {

namespace {

// The updater: its own folder as working folder (every relative path of the updater rests on it), the
// argument text "-1".
void StartUpdater() {
    const std::string folder = ProgramFolder() + "\\update";
    const std::string application = folder + "\\Update.exe";
    char commandLine[] = " -1";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (CreateProcessA(application.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                       &started))
        ProcessHandles::From(started);  // not waited for
}

// Shows the version and marks a check as running; false when one already runs (it then gives the notice if
// asked for).
bool BeginVersionCheck(NightcapApp& app, bool notify) {
    SetControlText(app.main.透明标签_版本号, std::string("版本：") + kProductVersion);
    OnlineState& online = app.online;
    if (online.versionCheckRunning) {
        online.notifyWhenCurrent = online.notifyWhenCurrent || notify;
        return false;
    }
    online.versionCheckRunning = true;
    online.notifyWhenCurrent = notify;
    return true;
}

void CheckVersion(NightcapApp& app, bool notify) {
    if (!BeginVersionCheck(app, notify)) return;
    const HWND window = app.main.window;
    if (!StartDetachedThread([window] { PostResult(window, kVersionRepliedMessage, RequestVersionReply()); }))
        app.online.versionCheckRunning = false;
}

void AskForPing(HWND window) {
    const bool updateAsked = PingReplyStartsUpdater(
        ProgramHttp().PostText(ServerUrl(ServerRole::Statistics, kUpdatePingRequest)));
    if (updateAsked) PostMessageA(window, kUpdateAskedMessage, 0, 0);
}

}  // namespace

std::string RequestVersionReply() {
    return ProgramHttp().PostText(ServerUrl(ServerRole::Statistics, kVersionCheckRequest));
}

void StartStartupLookups(NightcapApp& app) {
    const bool checkVersion = BeginVersionCheck(app, false);  // a label click may have started one already
    const HWND window = app.main.window;
    const bool started = StartDetachedThread([window, checkVersion] {
        if (checkVersion) PostResult(window, kVersionRepliedMessage, RequestVersionReply());
        PostResult(window, kWeatherFoundMessage, LookUpLocationAndWeather());
    });
    if (!started && checkVersion) app.online.versionCheckRunning = false;
}

void OnVersionReplied(NightcapApp& app, const std::string& reply) {
    OnlineState& online = app.online;
    online.versionCheckRunning = false;
    online.serverReply = reply;
    if (VersionReplyStartsUpdater(reply)) {
        StartUpdater();
        return;
    }
    if (online.notifyWhenCurrent && VersionReplyIsCurrent(reply))
        ShowBalloon("友情提醒！", "已经是最新版本！", kBalloonInfo);
}

void OnVersionLabelPressed(NightcapApp& app) { SetControlText(app.main.透明标签_版本号, "检测更新……"); }

void OnVersionLabelClicked(NightcapApp& app) { CheckVersion(app, true); }

void PingStatistics(NightcapApp& app) {
    const HWND window = app.main.window;
    StartDetachedThread([window] { AskForPing(window); });
}

// The maker asks running installs to update: they check their version as at start-up, and a mismatch
// starts the updater as it does then.
void OnUpdateAsked(NightcapApp& app) { CheckVersion(app, false); }

}  // namespace nightcap
