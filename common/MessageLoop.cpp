#include "common/MessageLoop.h"

#include <windows.h>

namespace {

template <BOOL(WINAPI* Get)(LPMSG, HWND, UINT, UINT), LRESULT(WINAPI* Dispatch)(const MSG*)>
int Run() {
    MSG message;
    while (Get(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        Dispatch(&message);
    }
    return int(message.wParam);
}

}  // namespace

int RunMessageLoop() { return Run<::GetMessageW, ::DispatchMessageW>(); }

int RunMessageLoopA() { return Run<::GetMessageA, ::DispatchMessageA>(); }
