// Asking Windows to shut down, restart, log off, sleep, hibernate or lock. Every system call goes through a
// PowerApi so that tests can watch the requests without ending the session.
#pragma once
#include <windows.h>

#include "common/Handles.h"
#include "nightcap/app/PowerChoice.h"

namespace nightcap {

class PowerApi {
public:
    virtual ~PowerApi() = default;
    virtual DWORD Version() = 0;     // GetVersion
    virtual DWORD PlatformId() = 0;  // dwPlatformId of GetVersionExA
    virtual bool OpenProcessToken(HANDLE process, DWORD access, UniqueHandle* token) = 0;
    virtual bool LookupPrivilegeValue(const char* name, LUID* luid) = 0;
    virtual bool AdjustTokenPrivileges(HANDLE token, TOKEN_PRIVILEGES* state, TOKEN_PRIVILEGES* previous,
                                       DWORD previousSize, DWORD* returnedSize) = 0;
    virtual bool ExitWindowsEx(UINT flags, DWORD reason) = 0;
    virtual bool SetSuspendState(bool hibernate, bool force) = 0;
    virtual bool LockWorkStation() = 0;
};

// The real calls.
PowerApi& SystemPowerApi();
// The one the program uses (the system's unless another was installed).
PowerApi& CurrentPowerApi();
void InstallPowerApi(PowerApi* api);  // null: back to the system's

// ExitWindowsEx flags for an action (1 shut down, also for any value other than 2 and 3; 2 restart; 3 log off).
UINT PowerFlags(int action, bool force);
// 1 Win32s, 2 Windows 9x family, 3 NT family, 0 anything else.
int PlatformType(DWORD platformId);

void PowerOff(int action, bool force, PowerApi& api = CurrentPowerApi());
// The user's choice at the end of a schedule. Shut-down, restart, sleep and hibernation enable the shut-down
// privilege first (NT family), forced or not, since Windows refuses them without it; without force, programs
// that answer may close themselves and only hung ones are ended (EWX_FORCEIFHUNG).
void CarryOut(const PowerChoice& choice, PowerApi& api = CurrentPowerApi());
// Enables a privilege (default "SeDebugPrivilege") in a process's token (default this process) on NT-family
// systems. Returns AdjustTokenPrivileges' result, false when nothing was attempted.
bool EnablePrivilege(const char* privilege = nullptr, HANDLE process = nullptr, PowerApi& api = CurrentPowerApi());

}  // namespace nightcap
