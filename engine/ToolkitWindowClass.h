// The window classes of the toolkit, registered in the program's module the first time a window needs one,
// and their window procedure.
#pragma once
#include <windows.h>

void RegisterToolkitClass(const wchar_t* name, WNDPROC procedure, HICON icon = nullptr);

// The window procedure of a class whose windows are each created for an object of T (CreateWindowEx's last
// argument): from WM_NCCREATE on, the object owns the window (its hwnd_) and takes its messages (its
// OnMessage), until it sets the window's GWLP_USERDATA to null.
template <typename T>
LRESULT CALLBACK ToolkitWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* object = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        object->hwnd_.Reset(hwnd);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    }
    auto* object = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!object) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return object->OnMessage(message, wParam, lParam);
}
