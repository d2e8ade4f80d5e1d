#include "setup/flow/InstalledProgram.h"

#include <windows.h>
#include <shlobj.h>

#include "common/Handles.h"
#include "setup/flow/InstallFolder.h"
#include "setup/register/Registration.h"

namespace setup {

std::wstring ChooseInstallFolder(const std::wstring& name) {
    UniqueRegKey key;
    std::wstring keyPath = kUninstallKeyPrefix + name;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.Receive()) == ERROR_SUCCESS) {
        wchar_t value[261] = {};  // 520 bytes of text and a terminator that is always there
        DWORD size = 520;
        DWORD type = 0;
        if (RegQueryValueExW(key.Get(), L"UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            std::wstring folder = FolderFromUninstallString(value);
            if (!folder.empty()) return folder;
        }
    }
    wchar_t programFiles[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, programFiles, CSIDL_PROGRAM_FILES, FALSE)) programFiles[0] = 0;
    return DefaultInstallFolder(programFiles, name);
}

bool IsUpToDate(const std::wstring& folder, const std::wstring& name, const std::wstring& ownPath) {
    uint64_t installed = GetFileVersion(WithTrailingBackslash(folder) + name + L".exe");
    return installed != 0 && installed >= GetFileVersion(ownPath);
}

void StartInstalledProgram(const std::wstring& installDir, const std::wstring& name) {
    std::wstring commandLine = installDir + name + L".exe";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, installDir.c_str(), &startup,
                       &info))
        ProcessHandles::From(info);  // both handles closed at once
}

void ReleaseUpdateSemaphore() {
    UniqueHandle semaphore(OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, L"QuillNest_Update"));
    if (semaphore) ReleaseSemaphore(semaphore.Get(), 1, nullptr);
}

}  // namespace setup
