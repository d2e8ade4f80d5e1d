#include "common/Handles.h"
#include "setup/register/Registration.h"

namespace setup {

namespace {
void SetString(HKEY key, const wchar_t* valueName, const std::wstring& data) {
    RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}
}  // namespace

void WriteRunEntry(const std::wstring& installDir, const std::wstring& name) {
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, key.Receive()) != ERROR_SUCCESS) return;
    SetString(key.Get(), name.c_str(), RunValueText(installDir + name + L".exe"));
}

void WriteUninstallEntry(const std::wstring& installDir, const std::wstring& name, const std::wstring& title) {
    uint64_t version = GetFileVersion(installDir + name + L".exe");
    UniqueRegKey key;
    std::wstring keyPath = kUninstallKeyPrefix + name;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return;
    for (const UninstallValue& value : UninstallValues(installDir, name, title, version))
        SetString(key.Get(), value.name, value.data);
}

}  // namespace setup
