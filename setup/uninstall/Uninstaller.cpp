#include "setup/uninstall/Uninstaller.h"

#include <windows.h>
#include <shlobj.h>

#include <iterator>
#include <vector>

#include "common/Handles.h"
#include "common/InstallRecord.h"
#include "common/InstallRecordFile.h"
#include "setup/flow/RunningProgram.h"
#include "setup/register/Registration.h"
#include "setup/uninstall/InstalledFiles.h"

namespace setup {

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find.Get(), &found));
    }
    find.Reset();
    RemoveDirectoryW(folder.c_str());
}

std::wstring LinkTarget(const std::wstring& linkPath) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.ReceiveVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid())) ||
        FAILED(file->Load(linkPath.c_str(), STGM_READ)))
        return {};
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return {};
    return target;
}

std::wstring ReadString(HKEY root, const std::wstring& keyPath, const std::wstring& valueName) {
    UniqueRegKey key;
    if (RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) return {};
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return data;
}

// A drive or network folder, whole and ending with a backslash: anything else would resolve against the
// current folder (or the current drive's root) instead of the install.
bool IsInstallFolder(const std::wstring& folder) {
    if (folder.size() < 3 || folder.back() != L'\\') return false;
    bool drive = ((folder[0] | 0x20) >= L'a' && (folder[0] | 0x20) <= L'z') && folder[1] == L':' && folder[2] == L'\\';
    bool network = folder.size() > 3 && folder[0] == L'\\' && folder[1] == L'\\' && folder[2] != L'\\';
    return drive || network;
}

}  // namespace

void RemoveInstalledFiles(const std::wstring& folder) {
    const std::vector<std::u16string> recorded = ReadInstallRecordFile(folder);
    std::vector<std::wstring> files(std::begin(kInstalledFiles), std::end(kInstalledFiles));
    for (const std::u16string& path : recorded) files.emplace_back(path.begin(), path.end());
    for (const std::wstring& file : files) {
        std::wstring path = folder + file;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
    for (const wchar_t* work : kWorkFolders) RemoveTree(folder + work);
    // Folders go only when nothing is left in them, the deepest first.
    for (const std::u16string& sub : RecordedFolders(recorded))
        RemoveDirectoryW((folder + std::wstring(sub.begin(), sub.end())).c_str());
    for (const wchar_t* sub : kInstalledFolders) RemoveDirectoryW((folder + sub).c_str());
    RemoveDirectoryW(folder.c_str());
}

void RemoveRegistration(const InstallIdentity& install) {
    std::wstring program = install.folder + install.name + L".exe";
    std::wstring uninstaller = install.folder + L"Uninstall.exe";
    {
        ScopedComInit com;
        ShortcutChoice everything{true, true, true};
        ShortcutPlan plan = PlanShortcuts(everything, ReadSpecialFolders(), install.folder, install.name, install.title);
        for (const PlannedLink& link : plan.links) {
            std::wstring target = LinkTarget(link.linkPath);
            if (!target.empty() && lstrcmpiW(target.c_str(), link.target.c_str()) == 0)
                DeleteFileW(link.linkPath.c_str());
        }
        if (!plan.startMenuFolder.empty()) RemoveDirectoryW(plan.startMenuFolder.c_str());
    }
    if (lstrcmpiW(ReadString(HKEY_CURRENT_USER, kRunKey, install.name).c_str(), RunValueText(program).c_str()) == 0) {
        UniqueRegKey run;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, run.Receive()) == ERROR_SUCCESS)
            RegDeleteValueW(run.Get(), install.name.c_str());
    }
    std::wstring entry = kUninstallKeyPrefix + install.name;
    if (lstrcmpiW(ReadString(HKEY_LOCAL_MACHINE, entry, L"UninstallString").c_str(), uninstaller.c_str()) == 0)
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, entry.c_str());
}

bool RemoveInstall(const InstallIdentity& install) {
    if (!IsInstallFolder(install.folder)) return false;
    FindRunningProgram(install.folder + install.name + L".exe", true);
    RemoveRegistration(install);
    RemoveInstalledFiles(install.folder);
    return true;
}

}  // namespace setup
