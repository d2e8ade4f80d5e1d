// The running program's own executable: its full path and its folder, whatever the length of the path.
#pragma once
#include <string>

// The full path of the executable; empty when Windows does not tell it.
std::wstring OwnProgramPath();
// The folder of the executable, ending in a backslash; empty as above.
std::wstring OwnProgramFolder();
