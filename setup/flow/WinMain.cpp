// Setup's entry point.
#include <windows.h>

#include "resource.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    wchar_t title[128] = {};
    LoadStringW(instance, IDS_TITLE, title, 128);
    MessageBoxW(nullptr, title, title, MB_OK);
    return 0;
}
