// A control of a toolkit window: a child window that paints the part of the window's background under it,
// then itself. Every kind (UiLabel, UiTextView, UiButton, UiProgressBar) reads the common properties of its
// layout item here and adds its own properties, drawing and mouse handling. Its window text is its text
// (a progress bar's: its percentage), so tools can read it.
#pragma once
#include <windows.h>

#include <string>

#include "common/Handles.h"
#include "engine/Layout.h"
#include "engine/LuaFunctionRef.h"
#include "engine/ToolkitWindowClass.h"

class UiControl {
public:
    UiControl() = default;
    UiControl(const UiControl&) = delete;
    UiControl& operator=(const UiControl&) = delete;
    virtual ~UiControl();

    // Builds the control from its layout item as a child of parent; background holds the parent's composed
    // background and must outlive the control. False with an error text when the item is incomplete.
    bool Create(const LayoutItem& item, HWND parent, HDC background, std::wstring* error);

    HWND Hwnd() const { return hwnd_.Get(); }
    const std::string& Id() const { return id_; }
    const std::wstring& Text() const { return text_; }
    virtual void SetText(const std::wstring& text);
    void SetVisible(bool visible);
    void SetEnabled(bool enabled);
    // Only a progress bar shows a percentage (0..100); the other kinds take no notice.
    virtual void SetProgress(int) {}
    // Only a button calls a click function; the other kinds let it go.
    virtual void SetOnClick(LuaFunctionRef) {}
    // True for the kind the mouse wheel scrolls wherever over the window it turns.
    virtual bool TakesMouseWheel() const { return false; }

protected:
    // DrawText's format of a text on one line, centred vertically and cut with an ellipsis.
    static constexpr UINT kOneLine = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;

    // The kind's own properties, read before its window is created.
    virtual bool ReadKindProperties(const LayoutItem&, std::wstring*) { return true; }
    virtual DWORD KindStyle() const { return 0; }
    // Draws the control into the off-screen dc (width by height), which already holds the background.
    virtual void Paint(HDC dc, int width, int height, bool enabled) = 0;
    // The kind's handling of a message; what it leaves goes to UiControl::OnMessage.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The layout's alignment of the text: DT_LEFT, DT_CENTER or DT_RIGHT.
    UINT Alignment() const { return align_; }
    HFONT Font() const { return font_.Get(); }
    // Draws the text in box, dimmed when the control is disabled; format adds to DT_NOPREFIX.
    void DrawOwnText(HDC dc, RECT box, UINT format, bool enabled) const;
    void Invalidate() const { ::InvalidateRect(hwnd_.Get(), nullptr, FALSE); }

private:
    friend LRESULT CALLBACK ToolkitWindowProc<UiControl>(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();

    std::string id_;
    std::wstring text_;
    COLORREF color_ = RGB(232, 238, 248);
    UINT align_ = DT_LEFT;
    UniqueFont font_;
    HDC background_ = nullptr;
    UniqueWindow hwnd_;
};
