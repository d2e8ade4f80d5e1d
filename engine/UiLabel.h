// A label: one line of text over the background; the mouse passes through it to the window.
#pragma once
#include "engine/UiControl.h"

class UiLabel : public UiControl {
protected:
    void Paint(HDC dc, int width, int height, bool enabled) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
