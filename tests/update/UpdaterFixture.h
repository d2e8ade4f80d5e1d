// Helpers of the updater's program tests: an updater folder in a temporary place, and the windows of its
// package (found by title, their controls by text).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/ProgramDriver.h"
#include "tests/support/TempFolder.h"

constexpr wchar_t kUpdaterTitle[] = L"更新升级程序_lumio";

// Copies exe (from the build folder, as Update.exe), XLUE.dll and the package (a path; none when empty)
// as View.xar into folder\update. Returns the updater's path.
std::wstring MakeUpdaterFolder(const TempFolder& folder, const std::wstring& package,
                               const std::wstring& exe = L"Update.exe");
std::wstring TestPackage(const std::wstring& name);  // a package the tests build

// The top-level window of the process with the title, waiting up to timeoutMs.
HWND WaitForTitledWindow(const Program& program, const std::wstring& title, DWORD timeoutMs = 10000);
std::vector<HWND> WindowsTitled(const Program& program, const std::wstring& title);
// The package window's control whose text is text, or null.
HWND ControlWithText(HWND window, const std::wstring& text);
// The texts of the window's controls, in creation order, visible ones only.
std::vector<std::wstring> VisibleTexts(HWND window);
// A real mouse click in the middle of the window.
void ClickCentre(HWND hwnd);
// The text of the first static control of a message box with text (the setup driver joins them all).
std::wstring MessageBoxFirstText(HWND box);
