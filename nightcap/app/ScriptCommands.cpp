#include "nightcap/app/ScriptCommands.h"

#include "nightcap/app/MainWindow.h"
#include "nightcap/app/Scheduler.h"

namespace nightcap {

namespace {

constexpr ULONG_PTR kCommandLineData = 0x4E434C31;  // "NCL1": a command line in the ANSI code page
constexpr UINT kPassTimeout = 15000;                  // arming waits for its balloon
constexpr DWORD kLongestCommandLine = 32768;          // what Windows allows a process

void ShowUsage(const std::string& problem) {
    std::string text = problem.empty() ? kUsageText : problem + "\r\n\r\n" + kUsageText;
    MessageBoxA(nullptr, text.c_str(), kMainWindowTitle, MB_OK | (problem.empty() ? MB_ICONINFORMATION : MB_ICONERROR));
}

HWND RunningCopyWindow() {
    if (!SingleInstanceGuard::OtherCopyRuns(kMainWindowTitle)) return nullptr;
    return FindWindowA(kMainWindowClass, nullptr);
}

bool PassToRunningCopy(HWND window, const std::string& arguments) {
    COPYDATASTRUCT data = {};
    data.dwData = kCommandLineData;
    data.cbData = static_cast<DWORD>(arguments.size());
    data.lpData = const_cast<char*>(arguments.data());
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, kPassTimeout,
                               &answer) &&
           answer == 1;
}

}  // namespace

bool HandleCommandLineBeforeStart(const char* commandLine, NightcapCommand* command, int* exitCode) {
    std::string arguments = commandLine ? commandLine : "";
    std::string problem;
    if (!ParseCommand(SplitArguments(arguments), command, &problem)) {
        ShowUsage(problem);
        *exitCode = kBadArguments;
        return true;
    }
    if (command->help) {
        ShowUsage("");
        *exitCode = kCommandDone;
        return true;
    }
    if (command->Empty()) return false;
    if (HWND running = RunningCopyWindow()) {
        *exitCode = PassToRunningCopy(running, arguments) ? kCommandDone : kNothingToDo;
        return true;
    }
    if (command->arm) return false;
    // Nothing runs: there is nothing to cancel, postpone or change.
    *exitCode = command->cancel ? kCommandDone : kNothingToDo;
    return true;
}

bool CarryOutCommand(NightcapApp& app, const NightcapCommand& command) {
    if (command.action) app.schedule.power.action = command.action;
    if (command.cancel) Disarm(app);
    if (command.arm) ArmWith(app, command.mode, command.time);
    if (command.postponeMinutes) return Postpone(app, command.postponeMinutes);
    if (command.action && !command.arm && app.schedule.running) OnClockTick(app);  // the status line names it
    return true;
}

LRESULT OnCommandFromLaterCopy(NightcapApp& app, const COPYDATASTRUCT* data) {
    // Any program on the desktop may send this: only a command line of a sensible length is read.
    if (!data || data->dwData != kCommandLineData || !data->lpData || data->cbData > kLongestCommandLine) return 0;
    std::string arguments(static_cast<const char*>(data->lpData), data->cbData);
    NightcapCommand command;
    std::string problem;
    if (!ParseCommand(SplitArguments(arguments), &command, &problem) || command.help) return 0;
    return CarryOutCommand(app, command) ? 1 : 0;
}

}  // namespace nightcap
