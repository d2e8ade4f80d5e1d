#include "nightcap/controls/VestaLoadDialog.h"

#include <gdiplus.h>

#include "nightcap/controls/ControlProperties.h"

namespace nightcap {

namespace {

constexpr const char* kThread = "Vesta_Thread";
constexpr const char* kImage = "Vesta_Image";
constexpr const char* kStream = "Vesta_Stream";
constexpr const char* kHitMove = "VestaHitMove";

// Frees what the window owns, in the order thread, image, memory. The thread must not be inside GDI+
// or hold a lock at this moment (it is stopped from the window's own thread).
void FreeOwnedResources(HWND hwnd) {
    if (HANDLE thread = RemovePropA(hwnd, kThread)) {
        TerminateThread(thread, 0);
        CloseHandle(thread);
    }
    if (HANDLE image = RemovePropA(hwnd, kImage))
        Gdiplus::DllExports::GdipDisposeImage(reinterpret_cast<Gdiplus::GpImage*>(image));
    if (HANDLE memory = RemovePropA(hwnd, kStream)) GlobalFree(memory);
}

}  // namespace

LRESULT CALLBACK VestaLoadDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        FreeOwnedResources(hwnd);
        break;
    case WM_LBUTTONDOWN: {
        LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
        if (PropValue(hwnd, kHitMove) == 1) {
            ReleaseCapture();
            SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
        return result;
    }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterVestaLoadDialogClass() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = VestaLoadDialogProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kVestaLoadDialogClass;
    RegisterClassExA(&wc);
}

}  // namespace nightcap
