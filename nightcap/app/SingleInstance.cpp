#include "SingleInstance.h"

#include <cstdint>

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
        if (IsWindow(window)) OpenIcon(reinterpret_cast<HWND>(static_cast<uintptr_t>(recorded)));
        return false;
    }
    event_.Reset(CreateEventA(nullptr, FALSE, FALSE, name.c_str()));
    DWORD handle = static_cast<DWORD>(reinterpret_cast<uintptr_t>(window));
    RegSetValueExA(HKEY_CURRENT_USER, title, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&handle), sizeof handle);
    return true;
}
