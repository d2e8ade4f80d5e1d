// Shortcuts, the Run value and the uninstall entry, written after a successful extraction.
// Failures are silent: whatever cannot be made is missing.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "setup/register/RegistrationPlan.h"

namespace setup {

// The shell folders of the current user and of all users; missing ones stay empty.
SpecialFolders ReadSpecialFolders();

// One shell link with the target's folder as working folder. COM must be initialised.
void CreateShellLink(const std::wstring& target, const std::wstring& linkPath);

// Reads check boxes 1004 to 1007 of dialog and makes what they ask for (COM must be initialised).
void CreateShortcuts(HWND dialog, const std::wstring& installDir, const std::wstring& name, const std::wstring& title);

void WriteRunEntry(const std::wstring& installDir, const std::wstring& name);
void WriteUninstallEntry(const std::wstring& installDir, const std::wstring& name, const std::wstring& title);

// The fixed file version (most significant word in the high half); 0 when it cannot be read.
uint64_t GetFileVersion(const std::wstring& path);

}  // namespace setup
