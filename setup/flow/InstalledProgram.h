// The steps around the installed program: where it was installed before, whether it is up to date, starting it.
#pragma once
#include <string>

namespace setup {

// The install folder (no trailing backslash): the earlier install's, else Program Files\<name>.
std::wstring ChooseInstallFolder(const std::wstring& name);

// The program in folder has a file version at least equal to Setup's own.
bool IsUpToDate(const std::wstring& folder, const std::wstring& name, const std::wstring& ownPath);

// Starts installDir + name + ".exe" by its bare path in the install folder, without waiting.
void StartInstalledProgram(const std::wstring& installDir, const std::wstring& name);

// Releases the updater's semaphore once when some other program created it.
void ReleaseUpdateSemaphore();

}  // namespace setup
