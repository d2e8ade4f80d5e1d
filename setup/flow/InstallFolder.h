// Where Setup installs: the folder of an earlier install, else Program Files\<name>, and the folder
// a browse gives. Folders here carry no trailing backslash until the install starts.
#pragma once
#include <string>

namespace setup {

// The folder part of an earlier "UninstallString" (all before its last backslash); empty when it has none.
std::wstring FolderFromUninstallString(const std::wstring& uninstallString);

// programFiles as the shell gives it (empty when it could not be obtained) + "\" + name.
std::wstring DefaultInstallFolder(const std::wstring& programFiles, const std::wstring& name);

// A folder picked by browsing + "\" + name, without doubling the backslash of a drive root.
std::wstring FolderUnder(const std::wstring& picked, const std::wstring& name);

// folder with exactly one backslash at its end.
std::wstring WithTrailingBackslash(const std::wstring& folder);

}  // namespace setup
