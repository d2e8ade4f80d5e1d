#include "nightcap/app/MainWindow.h"

#include <windows.h>

#include "assets/nightcap/NightcapResources.h"
#include "nightcap/app/BackgroundWork.h"
#include "nightcap/app/ControlIds.h"
#include "nightcap/app/ControlText.h"
#include "nightcap/app/OnlineHooks.h"
#include "nightcap/app/OverlayWindow.h"
#include "nightcap/app/Scheduler.h"
#include "nightcap/app/ScriptCommands.h"
#include "nightcap/app/SkinHooks.h"
#include "nightcap/app/TrayIcon.h"
#include "nightcap/app/TrayMenu.h"
#include "nightcap/app/TrayProcedure.h"

namespace nightcap {

const char* const kMainWindowClass = "Nightcap";
const char* const kMainWindowTitle = "定时关机";

namespace {

constexpr UINT kTickInterval = 500;
constexpr UINT kPingInterval = 30 * 60 * 1000;

NightcapApp* AppOf(HWND hwnd) { return reinterpret_cast<NightcapApp*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

// The outline: a rectangle whose corners follow a 6 x 6 ellipse. The window owns the region once it is set.
void GiveRoundedOutline(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    UniqueRegion region(CreateRoundRectRgn(0, 0, r.right - r.left + 1, r.bottom - r.top + 1, 6, 6));
    if (region && SetWindowRgn(hwnd, region.Get(), TRUE)) region.Release();
}

void SetWindowIcons(NightcapApp& app) {
    auto load = [&](int size) {
        return static_cast<HICON>(
            LoadImageA(app.instance, MAKEINTRESOURCEA(IDI_NIGHTCAP), IMAGE_ICON, size, size, LR_SHARED));
    };
    SendMessageA(app.main.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(load(32)));
    SendMessageA(app.main.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(load(16)));
}

void ApplySettings(NightcapApp& app, const ScheduleSettings& settings) {
    ShowScheduleMode(app, settings.mode);
    SetControlText(app.main.标签_时, settings.hour);
    SetControlText(app.main.标签_分, settings.minute);
    if (settings.defaultsInUse) app.schedule.defaultsInUse = true;
}

// Start-up, in order, before the window is first shown. False ends a second copy here. Nothing here waits
// for a server: the lookups start once the window shows, and their answers fill it when they come.
bool OnCreated(NightcapApp& app, HWND hwnd) {
    app.main.window = hwnd;
    CreateMainControls(app);
    if (!app.instanceGuard.Claim(kMainWindowTitle, nullptr)) return false;
    SetWindowIcons(app);
    ProgramTray().Add(hwnd, reinterpret_cast<HICON>(SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0)), "lumio定时关机");
    app.taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    InstallTrayProcedure(app);
    StartDetachedThread(SynchroniseClockOnce);
    GiveRoundedOutline(hwnd);
    SelectHourField(app);
    BindImageControls(app);  // the image-drawn controls attach to the plain ones here
    ApplySettings(app, app.settings.Load());
    app.schedule.power = app.settings.LoadPowerChoice();
    CreateSliderWindow(app);
    SetTimer(hwnd, 时钟_时间, kTickInterval, nullptr);
    MoveSliderToHourLabel(app);
    app.background.Reset(static_cast<HBITMAP>(
        LoadImageA(app.instance, MAKEINTRESOURCEA(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    InvalidateRect(hwnd, nullptr, TRUE);
    StartDetachedThread(SendInstallReportOnce);
    SetTimer(hwnd, 时钟_呼起, kPingInterval, nullptr);
    PostMessageA(hwnd, kStartLookupsMessage, 0, 0);
    return true;
}

void OnCommand(NightcapApp& app, int id, int code) {
    switch (id) {
    case 按钮_关闭:
    case 菜单_结束: ExitProgram(app); return;
    case 按钮_最小: HideBothWindows(app); return;
    case 菜单_显示: ShowBothWindows(app); return;
    case 透明标签_切换1:
        if (code == STN_CLICKED) ChooseClockTimeTab(app);
        return;
    case 透明标签_切换2:
        if (code == STN_CLICKED) ChooseCountdownTab(app);
        return;
    case 按钮_执行:
        if (code == BN_CLICKED) OnExecuteClicked(app);
        return;
    case 透明标签_版本号:
        if (code == kLabelPressed) OnVersionLabelPressed(app);
        if (code == STN_CLICKED) OnVersionLabelClicked(app);
        return;
    default:
        if (!HandleTrayMenuCommand(app, id)) HandleTimeEntryCommand(app, id, code);
    }
}

void OnTimer(NightcapApp& app, UINT_PTR id) {
    if (id == 时钟_时间) OnClockTick(app);
    if (id == 时钟_呼起) PingStatistics(app);
}

// Labels are drawn straight onto the window's picture in their own colours.
LRESULT OnControlColour(NightcapApp& app, HDC dc, HWND control) {
    COLORREF colour = kWeatherText;
    switch (GetDlgCtrlID(control)) {
    case 透明标签_城市: colour = kCityText; break;
    case 透明标签_天气2: colour = app.airQualityColour; break;
    case 透明标签_切换1: colour = app.clockTabColour; break;
    case 透明标签_切换2: colour = app.countdownTabColour; break;
    case 透明标签_时间:
    case 透明标签_版本号: colour = kStatusText; break;
    }
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void PaintBackground(NightcapApp& app, HDC dc) {
    RECT r;
    GetClientRect(app.main.window, &r);
    if (!app.background) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    ScopedSelect select(memory.Get(), app.background.Get());
    BitBlt(dc, 0, 0, r.right, r.bottom, memory.Get(), 0, 0, SRCCOPY);
}

// Dragging by the background: the system moves the window while the left button is held.
void StartDrag(HWND hwnd) { SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0); }

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    NightcapApp* app = AppOf(hwnd);
    if (!app) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE: return OnCreated(*app, hwnd) ? 0 : -1;
    case WM_COMMAND: OnCommand(*app, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_TIMER: OnTimer(*app, wParam); return 0;
    case WM_CTLCOLORSTATIC: return OnControlColour(*app, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: PaintBackground(*app, reinterpret_cast<HDC>(wParam)); return 1;
    case WM_LBUTTONDOWN: StartDrag(hwnd); return 0;
    case WM_MOUSEMOVE:
        // Only while the button is held: a move-loop started without it would swallow the next click.
        if (wParam & MK_LBUTTON) StartDrag(hwnd);
        return 0;
    case WM_MOVE: FollowMainWindow(*app); return 0;
    case WM_POWERBROADCAST: OnPowerBroadcast(*app, wParam); return TRUE;
    case WM_COPYDATA: return OnCommandFromLaterCopy(*app, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kStartLookupsMessage: StartStartupLookups(*app); return 0;
    case kVersionRepliedMessage: OnVersionReplied(*app, *TakePostedResult<std::string>(lParam)); return 0;
    case kWeatherFoundMessage: OnWeatherFound(*app, *TakePostedResult<WeatherFindings>(lParam)); return 0;
    case kUpdateAskedMessage: OnUpdateAsked(*app); return 0;
    case WM_CLOSE: ExitProgram(*app); return 0;
    case WM_DESTROY:
        KillTimer(hwnd, 时钟_时间);
        KillTimer(hwnd, 时钟_呼起);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_NIGHTCAP), IMAGE_ICON, 48, 48, 0));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_NIGHTCAP), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&wc) != 0;
}

HWND CreateMainWindow(NightcapApp& app) {
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
    return CreateWindowExA(0, kMainWindowClass, kMainWindowTitle, WS_POPUP, x, y,
                           kWindowWidth, kWindowHeight, nullptr, nullptr, app.instance, &app);
}

void ShowBothWindows(NightcapApp& app) {
    ShowWindow(app.main.window, SW_SHOW);
    // Raised as well as shown: at start-up the slider window is already visible, under a main window shown later.
    if (app.slider.window)
        SetWindowPos(app.slider.window, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void HideBothWindows(NightcapApp& app) {
    if (app.slider.window) ShowWindow(app.slider.window, SW_HIDE);
    ShowWindow(app.main.window, SW_HIDE);
}

void ToggleBothWindows(NightcapApp& app) {
    if (IsWindowVisible(app.main.window))
        HideBothWindows(app);
    else
        ShowBothWindows(app);
}

void ExitProgram(NightcapApp& app) {
    ProgramTray().Remove();
    HideBothWindows(app);
    app.settings.Save(app.clockTabColour == kHighlightedTab, ControlText(app.main.标签_时),
                      ControlText(app.main.标签_分));
    DestroyWindow(app.main.window);  // ends the message loop; the program returns 0
}

}  // namespace nightcap
