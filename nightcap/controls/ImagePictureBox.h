// A picture box that shows one PNG back image over whatever its parent painted beneath it.
#pragma once
#include <string>

#include "nightcap/controls/ImageControl.h"
#include "nightcap/controls/ImageLoading.h"

namespace nightcap {

class ImagePictureBox : public ImageControl {
public:
    // Makes a new transparent "Static" child window and attaches to it.
    virtual HWND Create(HWND parent, int left, int top, int width, int height);
    // Takes over an existing window (see ImageControl::AttachWindow); shows image when given.
    virtual bool Attach(HWND window, GpImage* image = nullptr);
    virtual void SetBackImage(GpImage* image);
    virtual void LoadBackImage(const std::string& bytes);
    // Placement (ImageGeometry.h BackType); shows at the next repaint.
    virtual void SetBackType(int type);
};

}  // namespace nightcap
