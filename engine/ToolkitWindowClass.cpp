#include "engine/ToolkitWindowClass.h"

void RegisterToolkitClass(const wchar_t* name, WNDPROC procedure, HICON icon) {
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    if (::GetClassInfoW(module, name, &wc)) return;
    wc.hInstance = module;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.lpfnWndProc = procedure;
    wc.lpszClassName = name;
    ::RegisterClassW(&wc);
}
