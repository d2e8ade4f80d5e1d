// The base of the image-drawn controls: attaches to an existing child window, marks it with window
// properties and subclasses its parent so that the parent paints beneath it (see ControlPaint.h).
#pragma once
#include <windows.h>

#include <optional>

namespace nightcap {

class ImageControl {
public:
    virtual ~ImageControl() = default;

    // Takes over an existing child window; false (and nothing changed) when it does not exist.
    virtual bool AttachWindow(HWND window);
    virtual HWND Handle() const { return hwnd_; }
    virtual void SetProperty(const char* name, HANDLE value);
    virtual HANDLE GetProperty(const char* name) const;
    virtual LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Gives the control a tooltip through the one tooltip window of the process. flags: lowest bit 0 centres it.
    virtual void SetToolTip(const char* text, std::optional<int> flags = std::nullopt);
    // Omitted values keep the current ones; position is in the parent's client coordinates.
    virtual void SetBounds(std::optional<int> left = std::nullopt, std::optional<int> top = std::nullopt,
                           std::optional<int> width = std::nullopt, std::optional<int> height = std::nullopt,
                           bool noRedraw = false);
    virtual HWND WindowHandle() const { return hwnd_; }
    virtual bool IsValid() const;
    virtual void Redraw();
    virtual LRESULT SendToWindow(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    HWND hwnd_ = nullptr;
};

// Replaces the window procedure and keeps the old one in "PngControl_WndProc"; a window that already has
// that property is left alone. Returns false when the window was left alone.
bool SubclassWindow(HWND window, WNDPROC handler);
// Calls the procedure that SubclassWindow replaced.
LRESULT CallPreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace nightcap
