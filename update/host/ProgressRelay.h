// The UI thread's end of PostProgress: a hidden message-only window owned by the thread that creates the
// relay. A posted report carries its two texts on the heap; the window's procedure takes them back and
// hands them to the sink on that thread. Reports still queued when the relay goes are freed unrun.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace update {

class ProgressRelay {
public:
    using Sink = std::function<void(const std::wstring& first, const std::wstring& second)>;

    // Creates the window on the calling thread and makes it the target of PostProgress.
    explicit ProgressRelay(Sink sink);
    ProgressRelay(const ProgressRelay&) = delete;
    ProgressRelay& operator=(const ProgressRelay&) = delete;
    ~ProgressRelay();

    bool Ok() const { return window_ != nullptr; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Sink sink_;
    HWND window_ = nullptr;
};

}  // namespace update
