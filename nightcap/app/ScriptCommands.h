// The command line at work (CommandLine.h). A copy started with arguments while another runs hands the
// argument text to the running one (found through the single-instance guard) as WM_COPYDATA and ends with
// its answer; without a running copy, a command that arms starts the program, which arms and stays in the
// tray. Bad arguments are shown in a message box and end the copy with code 2, changing nothing.
#pragma once
#include "nightcap/app/CommandLine.h"
#include "nightcap/app/NightcapApp.h"

namespace nightcap {

// Exit codes of a copy that does not start.
constexpr int kCommandDone = 0;
constexpr int kNothingToDo = 1;  // /postpone with nothing armed; /postpone or /action alone with no running copy
constexpr int kBadArguments = 2;

// Before anything else: true and the exit code when this copy's work ends here; otherwise the command this
// copy starts with (empty for none).
bool HandleCommandLineBeforeStart(const char* commandLine, NightcapCommand* command, int* exitCode);
// In the running program; false when there was nothing to do it to (postponing while idle).
bool CarryOutCommand(NightcapApp& app, const NightcapCommand& command);
// WM_COPYDATA from a later copy: 1 when its command was carried out, 0 otherwise.
LRESULT OnCommandFromLaterCopy(NightcapApp& app, const COPYDATASTRUCT* data);

}  // namespace nightcap
