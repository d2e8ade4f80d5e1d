#include "nightcap/app/OverlayWindow.h"

#include <windows.h>

#include "nightcap/app/ControlIds.h"
#include "nightcap/app/MainWindow.h"
#include "nightcap/app/SkinHooks.h"

namespace nightcap {

namespace {

const char* const kSliderWindowClass = "NightcapSlider";
constexpr COLORREF kSeeThrough = RGB(255, 255, 255);
constexpr BYTE kSliderAlpha = 250;

void OnCreated(NightcapApp& app, HWND hwnd) {
    app.slider.window = hwnd;
    BuildSlider(app);
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd, kSeeThrough, kSliderAlpha, LWA_COLORKEY | LWA_ALPHA);
}

LRESULT CALLBACK SliderWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* app = reinterpret_cast<NightcapApp*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_CREATE:
        if (app) OnCreated(*app, hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

bool RegisterSliderWindowClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SliderWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kSliderWindowClass;
    return RegisterClassExA(&wc) != 0;
}

void CreateSliderWindow(NightcapApp& app) {
    RECT r;
    GetWindowRect(app.main.window, &r);
    CreateWindowExA(0, kSliderWindowClass, "", WS_POPUP | WS_VISIBLE, r.left, r.top, kWindowWidth, kWindowHeight,
                    app.main.window, nullptr, app.instance, &app);
}

void FollowMainWindow(NightcapApp& app) {
    if (!app.slider.window) return;
    RECT r;
    GetWindowRect(app.main.window, &r);
    SetWindowPos(app.slider.window, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace nightcap
