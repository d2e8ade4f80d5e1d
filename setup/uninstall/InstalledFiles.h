// What an install puts into its folder besides what its install record lists (InstallRecord.h): the files
// of the first release's payload (an install made before records were kept has no record), and what the
// programs make there.
#pragma once

namespace setup {

// Files, relative to the install folder; removed one by one so that anything else stays.
constexpr const wchar_t* kInstalledFiles[] = {
    L"Nightcap.exe",       L"Uninstall.exe",     L"config.ini",         L"today.png",
    L"update\\Update.exe", L"update\\copy.bat",  L"update\\View.xar",   L"update\\XLUE.dll",
    // The updater's manifests and the signature it fetched, and the install record itself.
    L"update\\update_log.xml", L"update\\update_md5.xml", L"update\\update_md5.xml.sig", L"installed-files.txt",
};

// Folders the programs fill themselves (the updater's staging area and the backup of what an install
// replaces): removed with their content.
constexpr const wchar_t* kWorkFolders[] = {L"update\\Temp", L"update\\Backup"};

// Folders the payload creates: removed when nothing else is left in them (deepest first).
constexpr const wchar_t* kInstalledFolders[] = {L"update"};

}  // namespace setup
