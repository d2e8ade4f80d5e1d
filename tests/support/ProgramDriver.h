// Starts a program under test and finds, reads and drives its windows.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/Handles.h"

// The folder of the running test executable; the programs under test are built beside it.
std::wstring BuildFolder();

class Program {
public:
    // Starts exe with the given argument text in workDir (the exe's folder when empty).
    bool Start(const std::wstring& exe, const std::wstring& arguments = L"", const std::wstring& workDir = L"");
    // Waits for the process to end; returns false on timeout.
    bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    void Kill();
    bool Running() const;
    DWORD Id() const { return handles_.processId; }
    HANDLE Handle() const { return handles_.process.Get(); }
    ~Program();

    // The first visible-or-not top-level window of this process with the class name; polls until timeoutMs.
    HWND WaitForWindow(const std::wstring& className, DWORD timeoutMs = 10000) const;
    std::vector<HWND> TopLevelWindows() const;

private:
    ProcessHandles handles_;
};

std::wstring WindowTextW(HWND hwnd);
std::string WindowTextA(HWND hwnd);  // bytes in the ANSI code page
std::wstring ClassNameOf(HWND hwnd);
// The first descendant of parent with the control id, or null.
HWND ChildWithId(HWND parent, int id);

// Waits, processing this thread's messages, until pred() holds or the time is up.
template <typename Pred>
bool WaitUntil(Pred pred, DWORD timeoutMs = 10000) {
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}
