#include "nightcap/online/HttpClientInternal.h"

#include "common/Handles.h"

#include <memory>

namespace nightcap {

namespace {
// What the waiting thread and the calling thread share; whichever ends last frees it.
struct PendingCall {
    std::function<Bytes()> call;
    Bytes result;
};

DWORD WINAPI RunPendingCall(void* parameter) {
    const std::unique_ptr<std::shared_ptr<PendingCall>> pending(static_cast<std::shared_ptr<PendingCall>*>(parameter));
    (*pending)->result = (*pending)->call();
    return 0;
}
}  // namespace

bool PumpPendingMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(int(msg.wParam));
            return false;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

std::optional<Bytes> CallWithin(const Deadline& deadline, std::function<Bytes()> call) {
    auto pending = std::make_shared<PendingCall>();
    pending->call = std::move(call);
    auto threadsShare = std::make_unique<std::shared_ptr<PendingCall>>(pending);
    const UniqueHandle thread(::CreateThread(nullptr, 0, RunPendingCall, threadsShare.get(), 0, nullptr));
    if (!thread) return std::nullopt;
    threadsShare.release();
    for (;;) {
        const HANDLE handle = thread.Get();
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &handle, FALSE, deadline.Remaining(), QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) return pending->result;
        // Past the deadline, or the thread's loop is to end: the call is dropped.
        if (woken != WAIT_OBJECT_0 + 1 || !PumpPendingMessages()) return std::nullopt;
    }
}

}  // namespace nightcap
