// An installation of the product in a temporary folder, for the tests that run Setup: Setup is offered the
// folder (through an earlier install's uninstall entry), and what an install leaves behind (its running
// programs, shortcuts, Run value, uninstall entry and files) is removed before the test and after it. The
// Nightcaps of the test write their power requests down (power.log in the temporary folder), never making them.
#pragma once
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

class SetupInstallation {
public:
    // Sets the environment the installed programs inherit; Offer() then hands the folder to Setup.
    SetupInstallation();
    ~SetupInstallation() { CleanUp(); }
    SetupInstallation(const SetupInstallation&) = delete;
    SetupInstallation& operator=(const SetupInstallation&) = delete;

    // Removes what an earlier run left and writes the entry that makes Setup offer the folder.
    bool Offer();
    void CleanUp();

    const std::wstring& Folder() const { return folder_; }  // with a trailing backslash
    std::wstring TempFile(const std::wstring& name) const { return temp_ / name; }
    // Where the tests keep their screenshots, beside the test programs.
    static std::wstring Screenshots();
    // The shortcuts an install makes: desktop, start menu, uninstall in the start menu.
    static std::vector<std::wstring> Links();
    static std::wstring StartMenuFolder();
    static std::wstring DesktopLink();
    static std::wstring QuickLaunchLink();

    // Every file under the tree is in the installation, with the same bytes (checked with EXPECT_*).
    void ExpectFilesOf(const std::wstring& tree) const;

private:
    TempFolder temp_;
    std::wstring folder_;
};
