// A text view: wrapped text with a vertical scroll bar, scrolled by the bar, the mouse wheel and a click
// that gives it the focus. A new text starts at the top.
#pragma once
#include "engine/UiControl.h"

class UiTextView : public UiControl {
public:
    void SetText(const std::wstring& text) override;
    bool TakesMouseWheel() const override { return true; }

protected:
    DWORD KindStyle() const override { return WS_VSCROLL; }
    void Paint(HDC dc, int width, int height, bool enabled) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Measures the whole text and sets the scroll bar's range to it.
    void MeasureText();
    void ScrollTo(int position);
    void OnScrollBar(WORD request);

    int scrollY_ = 0;        // pixels scrolled
    int contentHeight_ = 0;  // of the whole text
};
