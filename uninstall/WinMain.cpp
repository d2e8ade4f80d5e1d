// Uninstall's entry point.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return MessageBoxW(nullptr, L"确定要卸载吗？", L"卸载", MB_OKCANCEL | MB_ICONQUESTION) == IDOK ? 0 : 1;
}
