// Copies of the installed program that are running from the install folder.
#pragma once
#include <string>

namespace setup {

// Looks for processes whose main module is programPath (compared whole, without case). Without terminate:
// true at the first one found. With terminate: ends every one (waiting up to a second each) and gives false.
bool FindRunningProgram(const std::wstring& programPath, bool terminate);

}  // namespace setup
