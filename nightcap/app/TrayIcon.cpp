#include "nightcap/app/TrayIcon.h"

namespace nightcap {

TrayIcon::TrayIcon(NotifyFunction notify) : notify_(notify), record_() {}

void TrayIcon::Add(HWND window, HICON icon, const char* tip) {
    std::lock_guard<std::mutex> hold(lock_);
    record_.cbSize = kTrayRecordSize;
    record_.hWnd = window;
    record_.hIcon = icon;
    record_.uID = kTrayIconId;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = kTrayCallbackMessage;
    lstrcpynA(record_.szTip, tip, sizeof record_.szTip);
    notify_(NIM_ADD, &record_);
}

void TrayIcon::AddAgain() {
    std::lock_guard<std::mutex> hold(lock_);
    notify_(NIM_DELETE, &record_);
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    notify_(NIM_ADD, &record_);
}

void TrayIcon::Remove() {
    std::lock_guard<std::mutex> hold(lock_);
    notify_(NIM_DELETE, &record_);
}

void TrayIcon::ShowBalloon(const char* title, const char* text, int kind) {
    std::lock_guard<std::mutex> hold(lock_);
    record_.uFlags = NIF_INFO;
    lstrcpynA(record_.szInfoTitle, title, sizeof record_.szInfoTitle);
    lstrcpynA(record_.szInfo, text, sizeof record_.szInfo);
    record_.dwInfoFlags = kind;
    notify_(NIM_MODIFY, &record_);
}

NOTIFYICONDATAA TrayIcon::Record() {
    std::lock_guard<std::mutex> hold(lock_);
    return record_;
}

TrayIcon& ProgramTray() {
    static TrayIcon tray;
    return tray;
}

void ShowBalloon(const char* title, const char* text, int kind) { ProgramTray().ShowBalloon(title, text, kind); }

}  // namespace nightcap
