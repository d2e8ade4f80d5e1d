// Work that must not hold the user-interface thread (every network request) runs on a thread of its own,
// and its result comes back to a window as a posted message. Nothing waits for such a thread: a program
// that ends while a request stalls ends with it, and a result whose window is gone is dropped.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

namespace nightcap {

// Runs body on a new thread; false when the thread could not be started (body does not run then).
bool StartDetachedThread(std::function<void()> body);

// From a background thread: posts `message` to window with a heap copy of the result in lParam; the
// window's handler takes it with TakePostedResult.
template <typename Result>
void PostResult(HWND window, UINT message, Result result) {
    auto posted = std::make_unique<Result>(std::move(result));
    if (PostMessageA(window, message, 0, reinterpret_cast<LPARAM>(posted.get()))) posted.release();
}

template <typename Result>
std::unique_ptr<Result> TakePostedResult(LPARAM lParam) {
    return std::unique_ptr<Result>(reinterpret_cast<Result*>(lParam));
}

}  // namespace nightcap
