#include "nightcap/app/Slider.h"

#include <algorithm>

#include "nightcap/app/SliderGeometry.h"

namespace nightcap {

using namespace slider;

void Slider::Build(AnimationFrame* frame, const SliderImages& images, DragHandler onDrag) {
    frame_ = frame;
    images_ = images;
    onDrag_ = std::move(onDrag);
    knob_ = frame->AddObject(images.knob, kKnobMinX, kKnobY, 2);
    track_ = frame->AddObject(images.track, kBaseX, kBaseY, -1);
    frame->AddObject(images.fillStart, kBaseX + 6, kBaseY + 5, 0);
    fillBar_ = frame->AddObject(images.fillBar, kBaseX + 12, kBaseY + 5, 1);
    frame->OnPress([this](int object) { OnPress(object); });
    frame->OnRelease([this] { OnRelease(); });
    frame->OnMouseMove([this](int x) { OnMouseMove(x); });
}

void Slider::MoveSliderTo(int percent) {
    if (!frame_) return;  // the slider window is made after the fields are first selected
    frame_->SetPosition(knob_, KnobXFromPercent(percent), kKnobY);
    frame_->SetScale(fillBar_, FillScaleFor(std::max(percent, 1)), 1000);
}

int Slider::KnobX() const { return frame_ ? frame_->Position(knob_).x : 0; }

int Slider::FillWidth() const { return frame_ ? frame_->DrawnSize(fillBar_).cx : 0; }

void Slider::OnPress(int object) {
    if (object != knob_ && object != track_) return;
    frame_->SetPicture(knob_, images_.knobPressed);
    dragging_ = true;
}

void Slider::OnRelease() {
    frame_->SetPicture(knob_, images_.knob);
    dragging_ = false;
}

void Slider::OnMouseMove(int mouseX) {
    if (!dragging_) {
        frame_->SetPicture(knob_, images_.knob);
        return;
    }
    int x = KnobXForMouse(mouseX);
    frame_->SetPosition(knob_, x, kKnobY);
    int percent = PercentFromKnobX(x);
    // At 0 % the bar keeps a sliver (hidden under the knob) rather than the width of the last move.
    frame_->SetScale(fillBar_, FillScaleFor(std::max(percent, 1)), 1000);
    if (onDrag_) onDrag_(percent);
}

}  // namespace nightcap
