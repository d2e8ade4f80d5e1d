// A push button drawn from four state images (normal, over, down, disabled) that follows the mouse,
// the focus and its enabled state.
#pragma once
#include <string>
#include <vector>

#include "nightcap/controls/ImageControl.h"
#include "nightcap/controls/ImageLoading.h"

namespace nightcap {

class ImageButton : public ImageControl {
public:
    virtual HWND Create(HWND parent, int left, int top, int width, int height, const char* caption);
    virtual bool Attach(HWND window, GpImage* normal = nullptr);
    // Each given image replaces the one of its state; null leaves it.
    virtual void SetStateImages(GpImage* normal, GpImage* over = nullptr, GpImage* down = nullptr,
                                GpImage* disabled = nullptr);
    virtual void LoadStateImages(const std::string& normal, const std::string& over = {},
                                 const std::string& down = {}, const std::string& disabled = {});
    // Cuts a strip of `count` state pictures into the normal, over, down and disabled images.
    virtual void LoadStateStrip(const std::string& bytes, int count = 3, bool vertical = false, int gap = 0);
    virtual void SetBackType(int type);
};

// The frames of a strip image as new 32-bit bitmaps, in state order; empty when the bytes do not decode.
std::vector<GpImage*> CutStateStrip(const std::string& bytes, int count, bool vertical, int gap);

}  // namespace nightcap
