// Nightcap's entry point: the program-wide objects, the two window classes, the main window (whose created
// handler runs the start-up) and the message loop.
#include <windows.h>

#include "common/MessageLoop.h"
#include "nightcap/app/MainWindow.h"
#include "nightcap/app/NightcapApp.h"
#include "nightcap/app/OverlayWindow.h"
#include "nightcap/app/ScriptCommands.h"
#include "nightcap/app/SkinHooks.h"
#include "nightcap/app/TestSeams.h"

using namespace nightcap;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    InstallTestSeamsFromEnvironment();
    NightcapCommand command;
    int exitCode = 0;
    if (HandleCommandLineBeforeStart(commandLine, &command, &exitCode)) return exitCode;
    NightcapApp app;
    app.instance = instance;
    StartImageControls();
    if (!RegisterMainWindowClass(instance) || !RegisterSliderWindowClass(instance)) return 0;

    // Null when another copy runs (or no window could be made): this copy ends silently.
    if (HWND main = CreateMainWindow(app)) {
        if (command.arm) {
            CarryOutCommand(app, command);  // arms and stays in the tray
        } else {
            ShowBothWindows(app);
            UpdateWindow(main);
        }
        RunMessageLoopA();
    }
    return 0;
}
