// The slider of the slider window: a track, a fill that grows with the value and a knob the user drags,
// built as four objects of the animation frame. Its value is a percentage, 0 to 100.
#pragma once
#include <functional>

#include "nightcap/app/SliderAnimationFrame.h"

namespace nightcap {

struct SliderImages {
    Gdiplus::GpImage* track = nullptr;        // 156 x 16
    Gdiplus::GpImage* knob = nullptr;         // 20 x 20
    Gdiplus::GpImage* knobPressed = nullptr;  // 20 x 20
    Gdiplus::GpImage* fillStart = nullptr;    // 6 x 7
    Gdiplus::GpImage* fillBar = nullptr;      // 2 x 7, stretched to the value
};

class Slider {
public:
    using DragHandler = std::function<void(int percent)>;

    // Adds the objects to the frame and takes over its notifications. onDrag gets every percentage a drag reaches.
    void Build(AnimationFrame* frame, const SliderImages& images, DragHandler onDrag);
    // Puts the knob and the fill at a percentage (values above 100 put the knob past the track's end).
    void MoveSliderTo(int percent);

    bool Dragging() const { return dragging_; }
    int KnobX() const;
    int FillWidth() const;

    // The frame's notifications (public for the window-less tests).
    void OnPress(int object);
    void OnRelease();
    void OnMouseMove(int mouseX);

private:
    AnimationFrame* frame_ = nullptr;
    SliderImages images_;
    DragHandler onDrag_;
    bool dragging_ = false;
    int knob_ = AnimationFrame::kNoObject;
    int track_ = AnimationFrame::kNoObject;
    int fillBar_ = AnimationFrame::kNoObject;
};

}  // namespace nightcap
