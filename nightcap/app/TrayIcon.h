// The one notification-area icon of the program and its record. The user-interface thread and the clock
// thread both show balloon notices through it, so every change of the record and the call that hands it to
// the shell happen under one lock.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <mutex>

namespace nightcap {

constexpr UINT kTrayCallbackMessage = 12345;
constexpr UINT kTrayIconId = 1;
// The record handed to the shell has the version-2 layout, up to the balloon flags (488 bytes in a 32-bit
// program, 504 in a 64-bit one).
constexpr DWORD kTrayRecordSize = NOTIFYICONDATAA_V2_SIZE;

enum BalloonKind { kBalloonInfo = 1, kBalloonWarning = 2 };

class TrayIcon {
public:
    using NotifyFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
    explicit TrayIcon(NotifyFunction notify = Shell_NotifyIconA);
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Fills the record (window, icon, identifier 1, message|icon|tip, callback 12345, tip) and adds the icon.
    void Add(HWND window, HICON icon, const char* tip);
    // After the taskbar was created anew: removes the icon and adds it again with the same record.
    void AddAgain();
    void Remove();
    // A balloon notice: kind 1 information, 2 warning.
    void ShowBalloon(const char* title, const char* text, int kind);

    NOTIFYICONDATAA Record();  // a copy, for tests

private:
    NotifyFunction notify_;
    std::mutex lock_;
    NOTIFYICONDATAA record_;
};

// The program's icon, shared by the windows and the background threads.
TrayIcon& ProgramTray();
void ShowBalloon(const char* title, const char* text, int kind);

}  // namespace nightcap
