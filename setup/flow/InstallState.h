// The process-wide install state, set at start-up and read by the dialog and the worker thread.
#pragma once
#include <cstdint>
#include <string>

namespace setup {

extern std::wstring g_strName;        // string 130: base name of the program, the uninstall key and Run value
extern std::wstring g_strTitle;       // string 131: display title of shortcuts and messages
extern std::wstring g_strInstallDir;  // ends with a backslash once the install starts
extern bool g_bUpToDate;              // the installed program is at least as new as this Setup

}  // namespace setup
