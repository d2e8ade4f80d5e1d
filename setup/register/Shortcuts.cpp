#include <shlobj.h>

#include "common/Handles.h"
#include "setup/register/Registration.h"

namespace setup {

namespace {
std::optional<std::wstring> SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) || !path[0]) return std::nullopt;
    return std::wstring(path);
}

enum { kDesktopBox = 1004, kQuickLaunchBox = 1005, kStartMenuBox = 1006, kRunBox = 1007 };
}  // namespace

SpecialFolders ReadSpecialFolders() {
    return {SpecialFolder(CSIDL_DESKTOPDIRECTORY), SpecialFolder(CSIDL_APPDATA), SpecialFolder(CSIDL_COMMON_PROGRAMS)};
}

void CreateShellLink(const std::wstring& target, const std::wstring& linkPath) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.ReceiveVoid())))
        return;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid()))) return;
    link->SetPath(target.c_str());
    link->SetWorkingDirectory(WorkingFolderOf(target).c_str());
    file->Save(linkPath.c_str(), TRUE);
}

void CreateShortcuts(HWND dialog, const std::wstring& installDir, const std::wstring& name, const std::wstring& title) {
    ShortcutChoice choice;
    choice.desktop = IsDlgButtonChecked(dialog, kDesktopBox) == BST_CHECKED;
    choice.quickLaunch = IsDlgButtonChecked(dialog, kQuickLaunchBox) == BST_CHECKED;
    choice.startMenu = IsDlgButtonChecked(dialog, kStartMenuBox) == BST_CHECKED;
    ShortcutPlan plan = PlanShortcuts(choice, ReadSpecialFolders(), installDir, name, title);
    if (!plan.startMenuFolder.empty()) CreateDirectoryW(plan.startMenuFolder.c_str(), nullptr);
    for (const PlannedLink& link : plan.links) CreateShellLink(link.target, link.linkPath);
    if (IsDlgButtonChecked(dialog, kRunBox) == BST_CHECKED) WriteRunEntry(installDir, name);
}

}  // namespace setup
