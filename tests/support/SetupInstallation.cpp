#include "tests/support/SetupInstallation.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "tests/support/SetupDriver.h"

namespace {

const wchar_t kEntryKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nightcap";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

SetupInstallation::SetupInstallation() : folder_(temp_ / L"Nightcap" + L"\\") {
    // Shell links must not reach the host's menus and desktop.
    SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"mscoree,mshtml=;winemenubuilder.exe=d");
    SetEnvironmentVariableW(L"NIGHTCAP_TEST_POWER_LOG", TempFile(L"power.log").c_str());
}

bool SetupInstallation::Offer() {
    CleanUp();
    CreateDirectoryW(Screenshots().c_str(), nullptr);
    return OfferInstallFolder(folder_);
}

void SetupInstallation::CleanUp() {
    EndProcesses(folder_ + L"update\\Update.exe");
    EndProcesses(folder_ + L"Nightcap.exe");
    for (const std::wstring& link : Links()) DeleteFileW(link.c_str());
    DeleteFileW(QuickLaunchLink().c_str());
    RemoveDirectoryW(StartMenuFolder().c_str());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Nightcap");
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kEntryKey);
    RemoveTree(folder_.substr(0, folder_.size() - 1));
}

std::wstring SetupInstallation::Screenshots() { return BuildFolder() + L"\\screenshots"; }

std::wstring SetupInstallation::StartMenuFolder() { return ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\" + kTitle; }

std::wstring SetupInstallation::DesktopLink() {
    return ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\" + kTitle + L".lnk";
}

std::wstring SetupInstallation::QuickLaunchLink() {
    return ShellFolder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch\\" + kTitle + L".lnk";
}

std::vector<std::wstring> SetupInstallation::Links() {
    return {DesktopLink(), StartMenuFolder() + L"\\" + kTitle + L".lnk", StartMenuFolder() + L"\\卸载" + kTitle + L".lnk"};
}

void SetupInstallation::ExpectFilesOf(const std::wstring& tree) const {
    const std::vector<std::wstring> files = FilesUnder(tree);
    ASSERT_GE(files.size(), 5u);
    for (const std::wstring& file : files) {
        std::string expected, actual;
        ASSERT_TRUE(ReadFileBytes(tree + L"\\" + file, &expected));
        EXPECT_TRUE(ReadFileBytes(folder_ + file, &actual)) << "missing " << Narrow(file);
        EXPECT_TRUE(actual == expected) << "differs " << Narrow(file);
    }
}
