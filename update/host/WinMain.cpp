// Update's entry point: goes on only for the argument "-1".
#include <windows.h>

#include <cwchar>

#include "Xlue.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    if (!commandLine || std::wcscmp(commandLine, L"-1") != 0) return 0;
    if (XL_InitGraphicLib(nullptr) != 0) return 1;
    XL_UnInitGraphicLib();
    return 0;
}
