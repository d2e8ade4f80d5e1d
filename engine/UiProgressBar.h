// A progress bar: the track image, and over it the fill image cut to the percentage. Its window text is the
// percentage ("40%"); the mouse passes through it to the window.
#pragma once
#include "common/GdiplusHandles.h"
#include "engine/UiControl.h"

class UiProgressBar : public UiControl {
public:
    void SetProgress(int percent) override;

protected:
    bool ReadKindProperties(const LayoutItem& item, std::wstring* error) override;
    void Paint(HDC dc, int width, int height, bool enabled) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    UniqueGpBitmap track_;
    UniqueGpBitmap fill_;
    int percent_ = 0;
};
