#include "nightcap/app/SingleInstance.h"

namespace nightcap {

std::string InstanceEventName(const char* title) { return std::string("松涛阁模块") + title; }

bool SingleInstanceGuard::Claim(const char* title, HWND window) {
    std::string name = InstanceEventName(title);
    UniqueHandle other(OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str()));
    if (other) {
        DWORD recorded = 0;
        DWORD size = sizeof recorded;
        if (RegQueryValueExA(HKEY_CURRENT_USER, title, nullptr, nullptr, reinterpret_cast<BYTE*>(&recorded), &size) !=
            ERROR_SUCCESS)
            recorded = 0;
        // Window handles have 32 significant bits, also in 64-bit programs: the recorded value is sign-extended,
        // so a 32-bit and a 64-bit copy read each other's handle alike.
        if (IsWindow(window)) OpenIcon(static_cast<HWND>(LongToHandle(static_cast<LONG>(recorded))));
        return false;
    }
    event_.Reset(CreateEventA(nullptr, FALSE, FALSE, name.c_str()));
    DWORD handle = HandleToULong(window);
    RegSetValueExA(HKEY_CURRENT_USER, title, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&handle), sizeof handle);
    return true;
}

bool SingleInstanceGuard::OtherCopyRuns(const char* title) {
    UniqueHandle other(OpenEventA(SYNCHRONIZE, FALSE, InstanceEventName(title).c_str()));
    return static_cast<bool>(other);
}

}  // namespace nightcap
