#include "update/host/ProgressRelay.h"

#include <atomic>
#include <memory>
#include <utility>

#include "update/host/UpdateOperations.h"

namespace update {

namespace {
constexpr UINT kProgressMessage = WM_APP + 1;
constexpr wchar_t kRelayClass[] = L"UpdateProgressRelay";

struct ProgressReport {
    std::wstring first;
    std::wstring second;
};

// The relay window that PostProgress aims at; null while there is none.
std::atomic<HWND> g_relayWindow{nullptr};

// Frees the reports still queued for hwnd.
void DropQueuedReports(HWND hwnd) {
    MSG msg;
    while (::PeekMessageW(&msg, hwnd, kProgressMessage, kProgressMessage, PM_REMOVE))
        delete reinterpret_cast<ProgressReport*>(msg.lParam);
}
}  // namespace

void PostProgress(const std::wstring& first, const std::wstring& second) {
    auto report = std::make_unique<ProgressReport>(ProgressReport{first, second});
    HWND target = g_relayWindow.load();
    if (target && ::PostMessageW(target, kProgressMessage, 0, reinterpret_cast<LPARAM>(report.get())))
        report.release();  // the relay window owns it now
}

ProgressRelay::ProgressRelay(Sink sink) : sink_(std::move(sink)) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kRelayClass;
    ::RegisterClassW(&wc);  // fails harmlessly when a second relay registers it again
    window_ = ::CreateWindowExW(0, kRelayClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
    if (window_) g_relayWindow.store(window_);
}

ProgressRelay::~ProgressRelay() {
    if (!window_) return;
    HWND expected = window_;
    g_relayWindow.compare_exchange_strong(expected, nullptr);
    // A worker that read the handle before the exchange may still post: those reports land in the queue
    // before the window is destroyed, or fail to post and are freed by PostProgress.
    DropQueuedReports(window_);
    ::DestroyWindow(window_);
}

LRESULT CALLBACK ProgressRelay::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == kProgressMessage) {
        std::unique_ptr<ProgressReport> report(reinterpret_cast<ProgressReport*>(lParam));
        auto* relay = reinterpret_cast<ProgressRelay*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (relay && relay->sink_) relay->sink_(report->first, report->second);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace update
