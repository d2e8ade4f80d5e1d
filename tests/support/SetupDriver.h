// Drives Setup.exe and Uninstall.exe under Wine: finds their dialogs and message boxes, presses their
// controls by message, and reads back what an install left in the registry and the shell folders.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/ProgramDriver.h"

extern const wchar_t kTitle[];  // the product title Setup registers

// The setup dialog of the process (the one with the progress bar 1011), or null.
HWND WaitForSetupDialog(DWORD processId, DWORD timeoutMs = 15000);
// A message box of the process (any process when processId is 0) whose caption is caption.
HWND WaitForMessageBox(DWORD processId, const std::wstring& caption, DWORD timeoutMs = 15000);
std::wstring MessageBoxText(HWND box);

void Click(HWND dialog, int id, WORD code = BN_CLICKED);
bool Visible(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
std::wstring ItemText(HWND dialog, int id);
bool Checked(HWND dialog, int id);

// Processes whose main module is path (compared without case).
std::vector<DWORD> ProcessesRunning(const std::wstring& path);
void EndProcesses(const std::wstring& path);

// Writes the uninstall entry of an earlier install in folder (with a trailing backslash), whose folder Setup
// then offers; false when the entry cannot be made.
bool OfferInstallFolder(const std::wstring& folder);

// Registry strings; empty when missing.
std::wstring ReadRegString(HKEY root, const std::wstring& key, const std::wstring& value);
bool RegKeyExists(HKEY root, const std::wstring& key);

std::wstring ShellFolder(int csidl);
// A shell link's target and working folder; false when it cannot be read.
bool ReadShellLink(const std::wstring& linkPath, std::wstring* target, std::wstring* workingFolder);

// Relative paths of every file under folder ("update\\Update.exe").
std::vector<std::wstring> FilesUnder(const std::wstring& folder);
