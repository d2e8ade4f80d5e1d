// An owner-drawn button painted from a PNG strip cut into slices: normal, hover, pressed, disabled.
// Objects live on the heap and delete themselves when their window is destroyed.
#pragma once
#include <string>

#include "framework/Controls.h"
#include "setup/skin/SkinGeometry.h"
#include "setup/skin/SkinImage.h"

namespace setup {

class CPngButton : public CButton {
public:
    // Subclasses the existing control, loads and cuts the strip and sizes the control to one slice.
    static CPngButton* Make(HWND control, const std::wstring& stripName, int sliceWidth);

    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
    // Points the disabled look at slice 4 when the strip has one (true) or at the normal slice (false).
    void UseFourthSliceWhenDisabled(bool fourth);

protected:
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void PostNcDestroy() override { delete this; }
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CPngButton() = default;
    bool LoadStrip(const std::wstring& stripName, int sliceWidth);
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    const SkinImage* Look(int slice) const { return slice >= 0 && slice < sliceCount_ ? &slices_[slice] : nullptr; }

    bool hover_ = false;
    SkinImage slices_[kMaxSlices];
    int sliceCount_ = 0;
    ButtonLooks looks_;
    HCURSOR cursor_ = nullptr;
};

}  // namespace setup
