#include "setup/flow/InstallFolder.h"

namespace setup {

std::wstring FolderFromUninstallString(const std::wstring& uninstallString) {
    size_t slash = uninstallString.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : uninstallString.substr(0, slash);
}

std::wstring FolderUnder(const std::wstring& picked, const std::wstring& name) {
    std::wstring folder = picked;
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder + L"\\" + name;
}

std::wstring DefaultInstallFolder(const std::wstring& programFiles, const std::wstring& name) {
    return FolderUnder(programFiles.empty() ? L"C:\\Program Files" : programFiles, name);
}

std::wstring WithTrailingBackslash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L"\\";
}

}  // namespace setup
