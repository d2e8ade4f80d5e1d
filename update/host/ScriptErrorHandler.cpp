#include "update/host/ScriptErrorHandler.h"

#include <string>

namespace update {

namespace {
bool g_boxOpen = false;  // the script-error guard
}

int __stdcall ScriptErrorHandler(lua_State*, const wchar_t* addInfo, const wchar_t* errorText, const wchar_t*) {
    if (g_boxOpen) return 0;
    g_boxOpen = true;
    std::wstring message = errorText ? errorText : L"";
    if (addInfo && *addInfo) message += std::wstring(L" @ ") + addInfo;
    ::MessageBoxW(nullptr, message.c_str(), L"为了帮助我们改进质量,请反馈此脚本错误", MB_OK | MB_ICONERROR);
    g_boxOpen = false;
    return 0;
}

}  // namespace update
