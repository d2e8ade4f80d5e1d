#include "nightcap/app/WaitPumping.h"

#include <windows.h>

#include "common/Handles.h"

namespace nightcap {

void WaitPumping(unsigned milliseconds) {
    UniqueHandle timer(CreateWaitableTimerA(nullptr, FALSE, nullptr));
    if (!timer) return;
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(milliseconds) * 10000;
    if (!SetWaitableTimer(timer.Get(), &due, 0, nullptr, nullptr, FALSE)) return;
    HANDLE handle = timer.Get();
    for (;;) {
        DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) return;  // the timer fired (or the wait failed)
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {  // leave the quit to the main loop
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace nightcap
