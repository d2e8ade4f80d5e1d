// The window properties that carry an image control's state, and small accessors for them.
#pragma once
#include <windows.h>

namespace nightcap {

namespace prop {
constexpr const char* kType = "PngControl_Type";
constexpr const char* kWndProc = "PngControl_WndProc";
constexpr const char* kCacheBitmap = "PngControl_CacheBitmap";
constexpr const char* kBackImage = "PngControl_BackImage";
constexpr const char* kBackType = "PngControl_BackType";
constexpr const char* kNormalImage = "PngControl_NormalImage";
constexpr const char* kOverImage = "PngControl_OverlImage";
constexpr const char* kDownImage = "PngControl_DownImage";
constexpr const char* kDisableImage = "PngControl_DisableImage";
constexpr const char* kDrawState = "Vesta_DrawState";
constexpr const char* kIsFocus = "PngControl_IsFoucs";
constexpr const char* kToolTips = "Vesta_ToolTips";
}  // namespace prop

// "PngControl_Type" values.
enum ControlKind { kKindNone = 0, kKindPictureBox = 2, kKindButton = 3 };

// A missing property reads as 0.
inline INT_PTR PropValue(HWND hwnd, const char* name) {
    return reinterpret_cast<INT_PTR>(GetPropA(hwnd, name));
}
template <typename T>
T PropAs(HWND hwnd, const char* name) {
    return reinterpret_cast<T>(GetPropA(hwnd, name));
}
inline void SetPropValue(HWND hwnd, const char* name, INT_PTR value) {
    SetPropA(hwnd, name, reinterpret_cast<HANDLE>(value));
}

}  // namespace nightcap
