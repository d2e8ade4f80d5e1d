#include "setup/flow/RunningProgram.h"

#include <windows.h>
#include <psapi.h>

#include "common/Handles.h"

namespace setup {

bool FindRunningProgram(const std::wstring& programPath, bool terminate) {
    DWORD ids[1024];
    DWORD bytes = 0;
    if (!EnumProcesses(ids, sizeof ids, &bytes)) return false;
    for (DWORD i = bytes / sizeof(DWORD); i-- > 0;) {
        UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE,
                                         FALSE, ids[i]));
        if (!process) continue;
        wchar_t path[MAX_PATH] = {};
        if (!GetModuleFileNameExW(process.Get(), nullptr, path, MAX_PATH)) continue;
        if (lstrcmpiW(path, programPath.c_str()) != 0) continue;
        if (!terminate) return true;
        TerminateProcess(process.Get(), 0);
        WaitForSingleObject(process.Get(), 1000);
    }
    return false;
}

}  // namespace setup
