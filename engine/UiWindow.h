// The toolkit's windows: a top-level window painted from a composed background bitmap, and its controls,
// child windows that paint the background under them and then themselves.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/GdiplusHandles.h"
#include "common/Handles.h"
#include "engine/Layout.h"
#include <lua.hpp>

class UiWindow;

enum class ControlKind { kLabel, kTextView, kButton, kProgress };

struct UiControl {
    UiWindow* owner = nullptr;
    ControlKind kind = ControlKind::kLabel;
    std::string id;
    RECT rect{};
    HWND hwnd = nullptr;
    std::wstring text;
    COLORREF color = RGB(232, 238, 248);
    UINT align = DT_LEFT;
    UniqueFont font;
    UniqueGpBitmap image;  // button: four states side by side (normal, hover, pressed, disabled); progress: track
    UniqueGpBitmap fill;   // progress: the filled part
    int progress = 0;
    bool hover = false;
    bool pressed = false;
    int clickRef = -2;      // LUA_NOREF
    int scrollY = 0;        // text view: pixels scrolled
    int contentHeight = 0;  // text view: height of the whole text
};

class UiWindow {
public:
    // Builds the window (hidden) from layout items; images are read from the package. False with an
    // error text when the layout has no window item or an item cannot be built.
    bool Create(const std::vector<LayoutItem>& items, std::wstring* error);
    ~UiWindow();

    HWND Hwnd() const { return hwnd_; }
    UiControl* FindControl(const std::string& id);
    UiControl* ControlAt(size_t index) { return index < controls_.size() ? controls_[index].get() : nullptr; }
    size_t IndexOf(const UiControl* control) const;

    void SetControlText(UiControl& control, const std::wstring& text);
    void SetProgress(UiControl& control, int percent);

    int closeRef = -2;
    std::map<UINT_PTR, int> timerRefs;
    UINT_PTR nextTimer = 1;
    int id = 0;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnControlMessage(UiControl& control, UINT message, WPARAM wParam, LPARAM lParam);
    bool ComposeBackground(const LayoutItem& window, const std::vector<LayoutItem>& items, std::wstring* error);
    bool AddControl(const LayoutItem& item, std::wstring* error);
    void PaintControl(UiControl& control, HDC dc);
    void MeasureText(UiControl& control);
    void ScrollTextView(UiControl& control, int position);
    void Click(UiControl& control);

    HWND hwnd_ = nullptr;
    int width_ = 0, height_ = 0;
    UniqueBitmap background_;
    UniqueMemoryDc backgroundDc_;  // holds background_ selected
    std::vector<std::unique_ptr<UiControl>> controls_;
};

// Calls the Lua function behind ref with no arguments, or with one integer when withNumber; errors go to
// the error handler under context.
void CallLuaRef(int ref, const wchar_t* context, bool withNumber = false, lua_Integer number = 0);
// Destroys the window with that id, if it is still open.
void CloseToolkitWindow(int id);
// Asks for the window to be destroyed once the message being handled is done.
void CloseUiWindowLater(UiWindow* window);
