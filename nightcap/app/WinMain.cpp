// Nightcap's entry point: the program-wide objects, the two window classes, the main window (whose created
// handler runs the start-up) and the message loop.
#include <windows.h>

#include "MainWindow.h"
#include "NightcapApp.h"
#include "OverlayWindow.h"
#include "SkinHooks.h"
#include "TestSeams.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InstallTestSeamsFromEnvironment();
    NightcapApp app;
    app.instance = instance;
    StartImageControls();
    if (!RegisterMainWindowClass(instance) || !RegisterSliderWindowClass(instance)) return 0;

    // Null when another copy runs (or no window could be made): this copy ends silently.
    if (HWND main = CreateMainWindow(app)) {
        ShowBothWindows(app);
        UpdateWindow(main);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return 0;
}
