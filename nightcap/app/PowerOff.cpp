#include "nightcap/app/PowerOff.h"

#include <powrprof.h>

namespace nightcap {

namespace {

class RealPowerApi : public PowerApi {
public:
    DWORD Version() override { return ::GetVersion(); }
    DWORD PlatformId() override {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
        return ::GetVersionExA(&info) ? info.dwPlatformId : 0xFFFFFFFF;
    }
    bool OpenProcessToken(HANDLE process, DWORD access, UniqueHandle* token) override {
        return ::OpenProcessToken(process, access, token->Receive()) != FALSE;
    }
    bool LookupPrivilegeValue(const char* name, LUID* luid) override {
        return ::LookupPrivilegeValueA(nullptr, name, luid) != FALSE;
    }
    bool AdjustTokenPrivileges(HANDLE token, TOKEN_PRIVILEGES* state, TOKEN_PRIVILEGES* previous, DWORD previousSize,
                               DWORD* returnedSize) override {
        return ::AdjustTokenPrivileges(token, FALSE, state, previousSize, previous, returnedSize) != FALSE;
    }
    bool ExitWindowsEx(UINT flags, DWORD reason) override { return ::ExitWindowsEx(flags, reason) != FALSE; }
    bool SetSuspendState(bool hibernate, bool force) override {
        return ::SetSuspendState(hibernate, force, FALSE) != FALSE;
    }
    bool LockWorkStation() override { return ::LockWorkStation() != FALSE; }
};

PowerApi* g_installed = nullptr;

}  // namespace

static_assert(sizeof(OSVERSIONINFOA) == 148, "GetVersionExA expects the 148-byte structure");

PowerApi& SystemPowerApi() {
    static RealPowerApi api;
    return api;
}

PowerApi& CurrentPowerApi() { return g_installed ? *g_installed : SystemPowerApi(); }

void InstallPowerApi(PowerApi* api) { g_installed = api; }

UINT PowerFlags(int action, bool force) {
    UINT flags = action == kRestart ? EWX_REBOOT : action == kLogOff ? EWX_LOGOFF : EWX_SHUTDOWN;
    return force ? flags | EWX_FORCE : flags;
}

int PlatformType(DWORD platformId) {
    switch (platformId) {
    case VER_PLATFORM_WIN32s: return 1;
    case VER_PLATFORM_WIN32_WINDOWS: return 2;
    case VER_PLATFORM_WIN32_NT: return 3;
    default: return 0;
    }
}

void PowerOff(int action, bool force, PowerApi& api) {
    bool ntFamily = (api.Version() & 0x80000000) == 0;
    if (force && action != kLogOff && ntFamily) EnablePrivilege("SeShutdownPrivilege", nullptr, api);
    api.ExitWindowsEx(PowerFlags(action, force), 0xFFFF);
}

void CarryOut(const PowerChoice& choice, PowerApi& api) {
    if (choice.action == kLock) {
        api.LockWorkStation();
        return;
    }
    bool ntFamily = (api.Version() & 0x80000000) == 0;
    if (choice.action != kLogOff && ntFamily) EnablePrivilege("SeShutdownPrivilege", nullptr, api);
    if (choice.action == kSleep || choice.action == kHibernate)
        api.SetSuspendState(choice.action == kHibernate, choice.force);
    else
        api.ExitWindowsEx(PowerFlags(choice.action, false) | (choice.force ? EWX_FORCE : EWX_FORCEIFHUNG), 0xFFFF);
}

bool EnablePrivilege(const char* privilege, HANDLE process, PowerApi& api) {
    if (PlatformType(api.PlatformId()) != 3) return false;
    if (!process) process = ::GetCurrentProcess();
    if (!privilege) privilege = "SeDebugPrivilege";

    UniqueHandle token;
    if (!api.OpenProcessToken(process, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES wanted = {};
    wanted.PrivilegeCount = 1;
    if (!api.LookupPrivilegeValue(privilege, &wanted.Privileges[0].Luid)) return false;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous = {};
    DWORD returned = 0;
    return api.AdjustTokenPrivileges(token.Get(), &wanted, &previous, sizeof previous, &returned);
}

}  // namespace nightcap
