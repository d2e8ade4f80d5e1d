// The slider window's drawing surface (UI动画框): image objects with a position, a layer and a scale,
// drawn off-screen over white (the slider window's see-through colour) and put on the screen in one blit.
// It reports a press on an object, the release (also when the mouse is taken from it) and mouse movement.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include <functional>
#include <vector>

namespace nightcap {

class AnimationFrame {
public:
    static constexpr int kNoObject = -1;
    using PressHandler = std::function<void(int object)>;
    using ReleaseHandler = std::function<void()>;
    using MoveHandler = std::function<void(int mouseX)>;

    AnimationFrame() = default;
    AnimationFrame(const AnimationFrame&) = delete;
    AnimationFrame& operator=(const AnimationFrame&) = delete;

    // A child window of parent; the object must outlive it.
    HWND Create(HWND parent, int left, int top, int width, int height);
    HWND Window() const { return hwnd_; }

    // Objects are numbered from 0 in the order they are added. Higher layers are drawn above lower ones.
    int AddObject(Gdiplus::GpImage* image, int x, int y, int layer);
    void SetPicture(int object, Gdiplus::GpImage* image);
    void SetPosition(int object, int x, int y);
    // Scale in thousandths of the picture's size; a 0 leaves that direction as it was.
    void SetScale(int object, int horizontal, int vertical);
    POINT Position(int object) const;
    SIZE DrawnSize(int object) const;
    // The topmost object under a point of the frame, or kNoObject.
    int ObjectAt(int x, int y) const;

    void OnPress(PressHandler handler) { onPress_ = std::move(handler); }
    void OnRelease(ReleaseHandler handler) { onRelease_ = std::move(handler); }
    void OnMouseMove(MoveHandler handler) { onMove_ = std::move(handler); }

private:
    struct Object {
        Gdiplus::GpImage* image;
        int x, y, layer;
        int scaleX = 1000, scaleY = 1000;
    };
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);
    std::vector<int> DrawingOrder() const;
    bool Valid(int object) const { return object >= 0 && object < static_cast<int>(objects_.size()); }
    void Invalidate();

    HWND hwnd_ = nullptr;
    std::vector<Object> objects_;
    PressHandler onPress_;
    ReleaseHandler onRelease_;
    MoveHandler onMove_;
};

}  // namespace nightcap
