// A button drawn from one image holding its four states side by side (normal, hover, pressed, disabled),
// with its text centred over it. A click is a press and a release inside it, or BM_CLICK; either calls the
// click function while the button is enabled.
#pragma once
#include "common/GdiplusHandles.h"
#include "engine/UiControl.h"

class UiButton : public UiControl {
public:
    void SetOnClick(LuaFunctionRef function) override { onClick_ = std::move(function); }

protected:
    bool ReadKindProperties(const LayoutItem& item, std::wstring* error) override;
    void Paint(HDC dc, int width, int height, bool enabled) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnMouseMove(LPARAM lParam);
    void OnButtonDown();
    void OnButtonUp();
    void Click();

    UniqueGpBitmap image_;
    LuaFunctionRef onClick_;
    bool hover_ = false;
    bool pressed_ = false;
};
