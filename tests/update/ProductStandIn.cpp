// Stands in for the product in the operations test: a hidden top-level window whose class name is the
// executable's base name (the product name), until it is closed or ended.
#include <windows.h>

#include <string>

#include "common/MessageLoop.h"
#include "common/OwnProgram.h"

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    std::wstring name = OwnProgramPath();
    name = name.substr(name.find_last_of(L'\\') + 1);
    name = name.substr(0, name.rfind(L'.'));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = name.c_str();
    if (!::RegisterClassW(&wc)) return 1;
    if (!::CreateWindowExW(0, name.c_str(), L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, instance,
                           nullptr))
        return 1;
    RunMessageLoop();
    return 0;
}
