#include "setup/register/RegistrationPlan.h"

namespace setup {

const wchar_t kUninstallKeyPrefix[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kPublisher[] = L"青禾岭有限公司";

ShortcutPlan PlanShortcuts(const ShortcutChoice& choice, const SpecialFolders& folders, const std::wstring& installDir,
                           const std::wstring& name, const std::wstring& title) {
    ShortcutPlan plan;
    std::wstring program = installDir + name + L".exe";
    if (choice.desktop && folders.desktop)
        plan.links.push_back({*folders.desktop + L"\\" + title + L".lnk", program});
    if (choice.quickLaunch && folders.appData)
        plan.links.push_back(
            {*folders.appData + L"\\Microsoft\\Internet Explorer\\Quick Launch\\" + title + L".lnk", program});
    if (choice.startMenu && folders.commonPrograms) {
        plan.startMenuFolder = *folders.commonPrograms + L"\\" + title;
        plan.links.push_back({plan.startMenuFolder + L"\\" + title + L".lnk", program});
        plan.links.push_back({plan.startMenuFolder + L"\\卸载" + title + L".lnk", installDir + L"Uninstall.exe"});
    }
    return plan;
}

std::wstring WorkingFolderOf(const std::wstring& target) {
    size_t slash = target.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : target.substr(0, slash);
}

std::wstring RunValueText(const std::wstring& program) { return L"\"" + program + L"\" -1 /s"; }

std::wstring VersionText(uint64_t version) {
    auto part = [version](int shift) { return std::to_wstring((version >> shift) & 0xFFFF); };
    return part(48) + L"." + part(32) + L"." + part(16) + L"." + part(0);
}

std::vector<UninstallValue> UninstallValues(const std::wstring& installDir, const std::wstring& name,
                                            const std::wstring& title, uint64_t programVersion) {
    return {{L"DisplayIcon", installDir + name + L".exe"},
            {L"DisplayName", title},
            {L"DisplayVersion", VersionText(programVersion)},
            {L"Publisher", kPublisher},
            {L"UninstallString", installDir + L"Uninstall.exe"}};
}

}  // namespace setup
