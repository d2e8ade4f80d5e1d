// What an install puts into its folder: the files of Setup's payload, and what the programs make there.
#pragma once

// Files, relative to the install folder; removed one by one so that anything else stays.
constexpr const wchar_t* kInstalledFiles[] = {
    L"Nightcap.exe",       L"Uninstall.exe",     L"config.ini",         L"today.png",
    L"update\\Update.exe", L"update\\copy.bat",  L"update\\View.xar",   L"update\\XLUE.dll",
};

// Folders the programs fill themselves (the updater's staging area): removed with their content.
constexpr const wchar_t* kWorkFolders[] = {L"update\\Temp"};

// Folders the payload creates: removed when nothing else is left in them (deepest first).
constexpr const wchar_t* kInstalledFolders[] = {L"update"};
