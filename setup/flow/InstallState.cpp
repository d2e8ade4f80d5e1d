#include "setup/flow/InstallState.h"

#include <windows.h>

namespace setup {

std::wstring g_strName;
std::wstring g_strTitle;
std::wstring g_strInstallDir;
bool g_bUpToDate = false;

}  // namespace setup
