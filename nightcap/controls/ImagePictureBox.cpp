#include "nightcap/controls/ImagePictureBox.h"

#include "nightcap/controls/ControlPaint.h"
#include "nightcap/controls/ControlProperties.h"

namespace nightcap {

namespace {

const char kPictureBoxText[] = "晨星真彩控件.图片框";

LRESULT CALLBACK PictureBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandlePaintMessage(hwnd, message, &result)) return result;
    return CallPreviousProc(hwnd, message, wParam, lParam);
}

}  // namespace

HWND ImagePictureBox::Create(HWND parent, int left, int top, int width, int height) {
    HWND window = CreateWindowExA(WS_EX_TRANSPARENT, "Static", kPictureBoxText,
                                  WS_CHILD | WS_VISIBLE | SS_NOTIFY, left, top, width, height, parent, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (window) Attach(window);
    return window;
}

bool ImagePictureBox::Attach(HWND window, GpImage* image) {
    if (!AttachWindow(window)) return false;
    SetPropValue(window, prop::kType, kKindPictureBox);
    SetWindowTextA(window, kPictureBoxText);
    SubclassWindow(window, PictureBoxProc);
    if (image) SetBackImage(image);
    return true;
}

void ImagePictureBox::SetBackImage(GpImage* image) {
    SetPropA(hwnd_, prop::kBackImage, image);
    RefreshUnder(hwnd_);
}

void ImagePictureBox::LoadBackImage(const std::string& bytes) { SetBackImage(LoadImageFromBytes(bytes)); }

void ImagePictureBox::SetBackType(int type) { SetPropValue(hwnd_, prop::kBackType, type); }

}  // namespace nightcap
