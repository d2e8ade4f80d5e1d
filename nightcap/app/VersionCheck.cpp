// The version check (at start-up and from the version label), the 30-minute update ping and the start of
// the updater from the installation's update folder.
#include <windows.h>

#include <string>

#include "ControlText.h"
#include "OnlineHooks.h"
#include "ProgramHttp.h"
#include "ServerHosts.h"
#include "StatisticsRules.h"
#include "TrayIcon.h"

namespace {

std::string UpdaterFolder() { return ProgramFolder() + "\\update"; }

// The updater for a new version: its own folder as working folder, the argument text "-1".
void StartUpdater() {
    const std::string folder = UpdaterFolder();
    const std::string application = folder + "\\Update.exe";
    char commandLine[] = " -1";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (CreateProcessA(application.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                       &started))
        ProcessHandles::From(started);  // not waited for
}

// The updater as the ping asks for it, with the argument "-2" (which it ignores). The path is quoted: an
// installation folder with a blank would otherwise let "C:\Program.exe" or the like run in its place.
void StartUpdaterFromPing() {
    std::string commandLine = "\"" + UpdaterFolder() + "\\Update.exe\" -2";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return;
    const ProcessHandles handles = ProcessHandles::From(started);
    WaitForInputIdle(handles.process.Get(), 1000);
}

void CheckVersion(NightcapApp& app, bool notify) {
    SetControlText(app.main.透明标签_版本号, std::string("版本：") + kProductVersion);
    app.online.serverReply = ProgramHttp().PostText(ServerUrl(ServerRole::Statistics, kVersionCheckRequest));
    if (VersionReplyStartsUpdater(app.online.serverReply)) {
        StartUpdater();
        return;
    }
    if (notify && VersionReplyIsCurrent(app.online.serverReply))
        ShowBalloon("友情提醒！", "已经是最新版本！", kBalloonInfo);
}

}  // namespace

void CheckVersionSilently(NightcapApp& app) { CheckVersion(app, false); }

void OnVersionLabelPressed(NightcapApp& app) { SetControlText(app.main.透明标签_版本号, "检测更新……"); }

void OnVersionLabelClicked(NightcapApp& app) { CheckVersion(app, true); }

void PingStatistics(NightcapApp&) {
    if (PingReplyStartsUpdater(ProgramHttp().PostText(ServerUrl(ServerRole::Statistics, kUpdatePingRequest))))
        StartUpdaterFromPing();
}
