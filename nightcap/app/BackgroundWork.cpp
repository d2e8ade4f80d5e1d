#include "nightcap/app/BackgroundWork.h"

#include "common/Handles.h"

namespace nightcap {

namespace {

DWORD WINAPI RunBody(void* parameter) {
    const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 0;
}

}  // namespace

bool StartDetachedThread(std::function<void()> body) {
    auto owned = std::make_unique<std::function<void()>>(std::move(body));
    const UniqueHandle thread(CreateThread(nullptr, 0, RunBody, owned.get(), 0, nullptr));
    if (!thread) return false;
    owned.release();  // the thread's now
    return true;
}

}  // namespace nightcap
