// The entry point of a framework program: hands control to the one application object.
#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    if (commandLine) app->m_lpCmdLine = commandLine;
    app->InitInstance();
    return app->ExitInstance();
}
