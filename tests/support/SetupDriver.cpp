#include "tests/support/SetupDriver.h"

#include <psapi.h>
#include <shlobj.h>

#include "common/Handles.h"

const wchar_t kTitle[] = L"lumio定时关机";

namespace {
bool IsDialogOf(HWND hwnd, DWORD processId) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return (processId == 0 || pid == processId) && ClassNameOf(hwnd) == L"#32770" && IsWindowVisible(hwnd);
}

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM all) {
    reinterpret_cast<std::vector<HWND>*>(all)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopLevel() {
    std::vector<HWND> all;
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&all));
    return all;
}
}  // namespace

HWND WaitForSetupDialog(DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevel())
                if (IsDialogOf(hwnd, processId) && GetDlgItem(hwnd, 1011)) found = hwnd;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

HWND WaitForMessageBox(DWORD processId, const std::wstring& caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevel())
                if (IsDialogOf(hwnd, processId) && !GetDlgItem(hwnd, 1011) && WindowTextW(hwnd) == caption)
                    found = hwnd;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassNameOf(child) == L"Static") text += WindowTextW(child);
    return text;
}

void Click(HWND dialog, int id, WORD code) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
std::wstring ItemText(HWND dialog, int id) { return WindowTextW(GetDlgItem(dialog, id)); }
bool Checked(HWND dialog, int id) {
    return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<DWORD> ProcessesRunning(const std::wstring& path) {
    std::vector<DWORD> found;
    DWORD ids[1024], bytes = 0;
    if (!EnumProcesses(ids, sizeof ids, &bytes)) return found;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
        wchar_t module[MAX_PATH] = {};
        if (process && GetModuleFileNameExW(process.Get(), nullptr, module, MAX_PATH) &&
            lstrcmpiW(module, path.c_str()) == 0)
            found.push_back(ids[i]);
    }
    return found;
}

void EndProcesses(const std::wstring& path) {
    for (DWORD id : ProcessesRunning(path)) {
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!process) continue;
        TerminateProcess(process.Get(), 1);
        WaitForSingleObject(process.Get(), 5000);
    }
}

bool OfferInstallFolder(const std::wstring& folder) {
    UniqueRegKey key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nightcap", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring earlier = folder + L"Uninstall.exe";
    return RegSetValueExW(key.Get(), L"UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(earlier.c_str()),
                          DWORD((earlier.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring ReadRegString(HKEY root, const std::wstring& key, const std::wstring& value) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(root, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return {};
    return data;
}

bool RegKeyExists(HKEY root, const std::wstring& key) {
    UniqueRegKey opened;
    return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.Receive()) == ERROR_SUCCESS;
}

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) ? path : L"";
}

bool ReadShellLink(const std::wstring& linkPath, std::wstring* target, std::wstring* workingFolder) {
    ScopedComInit com;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.ReceiveVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid())) ||
        FAILED(file->Load(linkPath.c_str(), STGM_READ)))
        return false;
    wchar_t path[MAX_PATH] = {}, folder[MAX_PATH] = {};
    if (FAILED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)) ||
        FAILED(link->GetWorkingDirectory(folder, MAX_PATH)))
        return false;
    *target = path;
    *workingFolder = folder;
    return true;
}

std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
    std::vector<std::wstring> files;
    std::vector<std::wstring> pending{L""};
    while (!pending.empty()) {
        std::wstring relative = pending.back();
        pending.pop_back();
        WIN32_FIND_DATAW found;
        UniqueFindHandle find(FindFirstFileW((folder + L"\\" + relative + L"*").c_str(), &found));
        if (!find) continue;
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                pending.push_back(relative + name + L"\\");
            else
                files.push_back(relative + name);
        } while (FindNextFileW(find.Get(), &found));
    }
    return files;
}
