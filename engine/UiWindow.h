// The toolkit's windows: a top-level window painted from a background bitmap composed once from the layout
// (colour, background image, image items), holding the controls of the layout. Dragging the background
// moves the window.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "engine/Layout.h"
#include "engine/LuaFunctionRef.h"
#include "engine/ToolkitWindowClass.h"
#include "engine/UiControl.h"

class UiWindow {
public:
    // id: the toolkit's name for the window, which CloseLater hands to CloseToolkitWindow.
    explicit UiWindow(int id) : id_(id) {}
    UiWindow(const UiWindow&) = delete;
    UiWindow& operator=(const UiWindow&) = delete;
    ~UiWindow();

    // Builds the window (hidden) from layout items; images are read from the package. False with an
    // error text when the layout has no window item or an item cannot be built.
    bool Create(const std::vector<LayoutItem>& items, std::wstring* error);

    int Id() const { return id_; }
    // Shows the window in front of the others.
    void Show();
    void Minimize();
    void SetTitle(const std::wstring& title);
    // Hides the window and has it destroyed once the message being handled is done.
    void CloseLater();
    // Called instead of closing when the system asks the window to close (its close button, Alt+F4).
    void SetOnClose(LuaFunctionRef function);
    // Calls function with the timer's id every ms until StopTimer or the window's end; 0 when no timer
    // could be started.
    UINT_PTR StartTimer(UINT ms, LuaFunctionRef function);
    void StopTimer(UINT_PTR timer);

    // The index of the first control with that id.
    std::optional<size_t> FindControl(const std::string& id) const;
    UiControl* ControlAt(size_t index) const { return index < controls_.size() ? controls_[index].get() : nullptr; }

private:
    friend LRESULT CALLBACK ToolkitWindowProc<UiWindow>(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnClose();
    void OnTimer(UINT_PTR timer);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    bool ComposeBackground(const LayoutItem& window, const std::vector<LayoutItem>& items, std::wstring* error);
    bool AddControl(const LayoutItem& item, std::wstring* error);

    const int id_;
    LuaFunctionRef onClose_;
    std::map<UINT_PTR, LuaFunctionRef> timers_;
    UINT_PTR nextTimer_ = 1;
    int width_ = 0, height_ = 0;
    UniqueBitmap background_;
    UniqueMemoryDc backgroundDc_;  // holds background_ selected
    UniqueWindow hwnd_;
    // After the window: the controls, with their child windows, are destroyed before it.
    std::vector<std::unique_ptr<UiControl>> controls_;
};

// Destroys the window with that id, if it is still open (the toolkit's list of windows owns them).
void CloseToolkitWindow(int id);
