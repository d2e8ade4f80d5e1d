// Lets one copy of the program run: the first copy holds a named event for its whole life and records
// a window handle under HKEY_CURRENT_USER; a later copy finds the event and ends.
#pragma once
#include <windows.h>

#include <string>

#include "common/Handles.h"

namespace nightcap {

// "松涛阁模块" followed by the title.
std::string InstanceEventName(const char* title);

class SingleInstanceGuard {
public:
    // True when this is the only copy: the event is now held and the window's handle written as the REG_DWORD
    // value named by the title. False when another copy runs; then, if window is a window, the window whose handle
    // the other copy recorded is restored, and the caller ends.
    bool Claim(const char* title, HWND window);
    // Whether a copy holds the event of the title, without claiming anything.
    static bool OtherCopyRuns(const char* title);

private:
    UniqueHandle event_;
};

}  // namespace nightcap
