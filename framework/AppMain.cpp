// The entry point of a framework program: hands control to the one application object.
#include "WinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    app->InitInstance();
    return app->ExitInstance();
}
