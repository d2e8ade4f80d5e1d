#include "InstallState.h"

#include <windows.h>

std::wstring g_strName;
std::wstring g_strTitle;
std::wstring g_strInstallDir;
bool g_bUpToDate = false;

std::wstring OwnPath() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, n < MAX_PATH ? n : 0);
}
