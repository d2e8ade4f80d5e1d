#include "nightcap/app/TrayProcedure.h"

#include "nightcap/app/MainWindow.h"
#include "nightcap/app/Scheduler.h"
#include "nightcap/app/TrayIcon.h"
#include "nightcap/app/TrayMenu.h"

namespace nightcap {

namespace {

void PopUpTrayMenu(NightcapApp& app) {
    POINT at;
    GetCursorPos(&at);
    FillTrayMenu(app);
    SetForegroundWindow(app.main.window);  // so that the menu closes when the user clicks elsewhere
    TrackPopupMenu(app.main.托盘菜单.Get(), TPM_RIGHTBUTTON, at.x, at.y, 0, app.main.window, nullptr);
    PostMessageA(app.main.window, WM_NULL, 0, 0);
}

void OnTrayMouse(NightcapApp& app, UINT mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: ToggleBothWindows(app); break;
    case WM_RBUTTONDOWN: PopUpTrayMenu(app); break;
    case NIN_BALLOONUSERCLICK: OnBalloonClicked(app); break;
    }
}

LRESULT CALLBACK TrayWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* app = reinterpret_cast<NightcapApp*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == kTrayCallbackMessage)
        OnTrayMouse(*app, static_cast<UINT>(lParam));
    else if (msg == app->taskbarCreatedMessage && msg != 0)
        ProgramTray().AddAgain();
    else if (msg == WM_DESTROY)
        ProgramTray().Remove();
    return CallWindowProcA(app->previousWindowProc, hwnd, msg, wParam, lParam);
}

}  // namespace

void InstallTrayProcedure(NightcapApp& app) {
    app.previousWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(app.main.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrayWindowProc)));
}

}  // namespace nightcap
