// What an install registers, as plain data: the shortcut files and their targets, the Run value's
// command line, the uninstall entry's texts. Setup writes these; Uninstall removes the same ones.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setup {

extern const wchar_t kUninstallKeyPrefix[];  // under HKEY_LOCAL_MACHINE, + name
extern const wchar_t kRunKey[];              // under HKEY_CURRENT_USER
extern const wchar_t kPublisher[];

// The shell folders links go into; a folder the shell could not give is empty (its links are skipped).
struct SpecialFolders {
    std::optional<std::wstring> desktop;         // CSIDL_DESKTOPDIRECTORY
    std::optional<std::wstring> appData;         // CSIDL_APPDATA
    std::optional<std::wstring> commonPrograms;  // CSIDL_COMMON_PROGRAMS
};

struct ShortcutChoice {
    bool desktop = true;
    bool quickLaunch = false;
    bool startMenu = true;
};

struct PlannedLink {
    std::wstring linkPath;
    std::wstring target;
};

struct ShortcutPlan {
    std::wstring startMenuFolder;  // to create first; empty when there is none
    std::vector<PlannedLink> links;
};

// installDir ends with a backslash. Links in the order desktop, Quick Launch, Start menu (program, uninstaller).
ShortcutPlan PlanShortcuts(const ShortcutChoice& choice, const SpecialFolders& folders, const std::wstring& installDir,
                           const std::wstring& name, const std::wstring& title);

// A link's working folder: its target up to the last backslash.
std::wstring WorkingFolderOf(const std::wstring& target);

// The Run value: the quoted program path, so the program starts at log-on from any folder.
std::wstring RunValueText(const std::wstring& program);

// "major.minor.build.revision" of a 64-bit fixed file version.
std::wstring VersionText(uint64_t version);

struct UninstallValue {
    const wchar_t* name;
    std::wstring data;
};
// The five values of the uninstall entry, in the order they are written.
std::vector<UninstallValue> UninstallValues(const std::wstring& installDir, const std::wstring& name,
                                            const std::wstring& title, uint64_t programVersion);

}  // namespace setup
