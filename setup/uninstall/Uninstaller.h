// Removing an install: the running program, its files, shortcuts, Run value and uninstall entry.
// Only what an install made is touched; the folder itself goes only when it is left empty.
#pragma once
#include <string>

namespace setup {

struct InstallIdentity {
    std::wstring folder;  // ends with a backslash
    std::wstring name;    // base name of the program ("Nightcap")
    std::wstring title;   // display title of shortcuts
};

// Ends copies of the program running from the folder, then removes everything of the install. False, with
// nothing touched, when the folder is not a whole drive or network path.
bool RemoveInstall(const InstallIdentity& install);

// Removes the files and folders of the install (the fixed ones and those its install record lists), and
// each folder, the install folder last, when it is left empty.
void RemoveInstalledFiles(const std::wstring& folder);

// Removes the shortcuts that point into the folder, the Run value when it starts this install's program
// and the uninstall entry when it belongs to this folder.
void RemoveRegistration(const InstallIdentity& install);

}  // namespace setup
