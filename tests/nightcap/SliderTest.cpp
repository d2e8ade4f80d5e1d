// The slider and the hour and minute fields on real windows under Wine: drags, label clicks, typed values,
// the fill bar's drawn width and the see-through slider window.
#include <gtest/gtest.h>
#include <windows.h>

#include "nightcap/app/Slider.h"
#include "nightcap/app/SliderGeometry.h"
#include "nightcap/app/TimeEntry.h"
#include "nightcap/controls/ControlProperties.h"
#include "nightcap/controls/ControlsModule.h"
#include "nightcap/controls/ImagePictureBox.h"
#include "tests/nightcap/ControlTestImages.h"
#include "tests/support/ProgramDriver.h"

using namespace nightcap;

namespace {

using namespace slider;

// Away from the middle of the screen, where the Nightcap that other tests start shows its window.
constexpr int kLeft = 700, kTop = 240;
constexpr COLORREF kPanel = RGB(19, 35, 64);
constexpr Gdiplus::ARGB kTrack = 0xFF404850, kKnob = 0xFFE04040, kKnobPressed = 0xFF4040E0,
                        kFillStart = 0xFF40C040, kFillBar = 0xFFF0C000;

LRESULT CALLBACK SliderWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The slider window: owned by the main window, on top of it, everything white see-through.
HWND MakeSliderWindow(HWND owner) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = SliderWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SliderTestWindow";
    RegisterClassExA(&wc);
    HWND hwnd = CreateWindowExA(WS_EX_LAYERED, "SliderTestWindow", "", WS_POPUP | WS_VISIBLE, kLeft, kTop, 302, 252,
                                owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetLayeredWindowAttributes(hwnd, RGB(255, 255, 255), 250, LWA_COLORKEY | LWA_ALPHA);
    return hwnd;
}

COLORREF ScreenAt(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, kLeft + x, kTop + y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Everything lives for the whole test program: destroying shown top-level windows is slow under Wine.
struct Harness {
    HWND main = nullptr, sliderWindow = nullptr;
    ImagePictureBox hourFrame, minuteFrame;
    TimeFieldWindows hour, minute;
    GpImage* selected = nullptr;
    GpImage* plain = nullptr;
    AnimationFrame frame;
    Slider slider;
    SliderImages images;
    TimeEntry* entry = nullptr;

    Harness() {
        StartControlsModule();
        main = MakeTestWindow(kLeft, kTop, 302, 252, kPanel);
        hour = Field(&hourFrame, 21, "12");
        minute = Field(&minuteFrame, 106, "30");
        selected = LoadImageFromBytes(SolidPng(66, 56, 0xFFFFAE01));
        plain = LoadImageFromBytes(SolidPng(66, 56, 0xFF2B4470));
        entry = new TimeEntry(hour, minute, {selected, plain}, &slider);
        entry->WireEvents();

        sliderWindow = MakeSliderWindow(main);
        frame.Create(sliderWindow, 0, 0, 302, 252);
        images.track = LoadImageFromBytes(SolidPng(156, 16, kTrack));
        images.knob = LoadImageFromBytes(SolidPng(20, 20, kKnob));
        images.knobPressed = LoadImageFromBytes(SolidPng(20, 20, kKnobPressed));
        images.fillStart = LoadImageFromBytes(SolidPng(6, 7, kFillStart));
        images.fillBar = LoadImageFromBytes(SolidPng(2, 7, kFillBar));
        slider.Build(&frame, images, [this](int percent) { entry->ShowDraggedPercent(percent); });
        entry->Select(TimeField::Hour);
        PaintNow(main);
        PaintNow(sliderWindow);
    }
    TimeFieldWindows Field(ImagePictureBox* box, int x, const char* text) {
        TimeFieldWindows f;
        box->Attach(CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, x, 40, 66, 56, main, nullptr, nullptr,
                                    nullptr));
        f.frame = box;
        f.label = CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE | SS_CENTER, 3, 3, 60, 50, box->Handle(),
                                  nullptr, nullptr, nullptr);
        f.edit = CreateWindowExA(0, "Edit", text, WS_CHILD | ES_CENTER, 3, 3, 60, 45, box->Handle(), nullptr,
                                 nullptr, nullptr);
        return f;
    }
    std::string Label(const TimeFieldWindows& f) {
        char text[32] = {};
        GetWindowTextA(f.label, text, sizeof text);
        return text;
    }
    void Press(int x, int y) { SendMessageA(frame.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Move(int x) { SendMessageA(frame.Window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 193)); }
    void Release() { SendMessageA(frame.Window(), WM_LBUTTONUP, 0, MAKELPARAM(0, 0)); }
    void DragKnobTo(int mouseX) {
        int knobCentre = slider.KnobX() + kKnobHalf;
        Press(knobCentre, kKnobY + 10);
        Move(mouseX);
        Release();
    }
    void Type(TimeField field, const char* text) {
        const TimeFieldWindows& f = field == TimeField::Hour ? hour : minute;
        SendMessageA(f.label, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        SetWindowTextA(f.edit, text);
        SetFocus(main);
    }
};

Harness& TheHarness() {
    static Harness* harness = new Harness;
    return *harness;
}

class SliderWindow : public ::testing::Test {
protected:
    void SetUp() override {
        h_.slider.OnRelease();
        SetWindowTextA(h_.hour.label, "12");
        SetWindowTextA(h_.minute.label, "30");
        h_.entry->Select(TimeField::Hour);
    }
    Harness& h_ = TheHarness();
};

TEST_F(SliderWindow, DraggingToTheEndsAndTheMiddleSetsTheSelectedField) {
    h_.DragKnobTo(0);
    EXPECT_EQ(h_.Label(h_.hour), "00");
    EXPECT_EQ(h_.slider.KnobX(), kKnobMinX);
    EXPECT_EQ(h_.slider.FillWidth(), 1);  // not the width the bar had before the jump
    h_.DragKnobTo(5000);
    EXPECT_EQ(h_.Label(h_.hour), "23");
    EXPECT_EQ(h_.slider.KnobX(), kKnobMaxX);
    h_.DragKnobTo(KnobXFromPercent(50) + kKnobHalf + 1);  // knob at 89: 50 %
    EXPECT_EQ(h_.Label(h_.hour), "11");
    EXPECT_EQ(h_.Label(h_.minute), "30");  // the other field is left alone

    SendMessageA(h_.minute.label, WM_LBUTTONUP, 0, 0);
    h_.DragKnobTo(5000);
    EXPECT_EQ(h_.Label(h_.minute), "59");
    h_.DragKnobTo(KnobXFromPercent(50) + kKnobHalf + 1);
    EXPECT_EQ(h_.Label(h_.minute), "29");
    h_.DragKnobTo(-20);
    EXPECT_EQ(h_.Label(h_.minute), "00");
    EXPECT_EQ(h_.Label(h_.hour), "11");
}

void MouseButton(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// Real input through the display: the knob is hit through the see-through slider window and the drag
// goes on past the end of the track.
TEST_F(SliderWindow, RealMouseDragsTheKnob) {
    int y = kTop + kKnobY + 10;
    SetCursorPos(kLeft + h_.slider.KnobX() + kKnobHalf, y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitUntil([&] { return h_.slider.Dragging(); }, 3000));
    SetCursorPos(kLeft + 290, y);  // past the travel's end, still over the window
    EXPECT_TRUE(WaitUntil([&] { return h_.Label(h_.hour) == "23"; }, 3000));
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitUntil([&] { return !h_.slider.Dragging(); }, 3000));
    EXPECT_EQ(h_.slider.KnobX(), kKnobMaxX);
}

TEST_F(SliderWindow, KnobShowsPressedWhileDraggingAndOnlyKnobOrTrackStartADrag) {
    h_.Press(250, 20);  // nothing there
    EXPECT_FALSE(h_.slider.Dragging());
    h_.Move(100);
    EXPECT_EQ(h_.Label(h_.hour), "12");

    h_.Press(120, kBaseY + 8);  // on the track
    EXPECT_TRUE(h_.slider.Dragging());
    PaintNow(h_.sliderWindow);
    int knob = h_.slider.KnobX();
    EXPECT_EQ(ScreenAt(knob + 10, kKnobY + 10), ToColorRef(kKnobPressed));
    h_.Move(kKnobHalf + kKnobMinX + 139);  // the right end of the travel
    EXPECT_EQ(h_.Label(h_.hour), "23");
    h_.Release();
    EXPECT_FALSE(h_.slider.Dragging());
    PaintNow(h_.sliderWindow);
    EXPECT_EQ(ScreenAt(kKnobMaxX + 10, kKnobY + 10), ToColorRef(kKnob));
}

// The button can be released where the frame never hears of it once another window took the mouse: the drag
// ends with the capture, so moving over the slider afterwards changes nothing.
TEST_F(SliderWindow, DragEndsWhenTheFrameLosesTheMouse) {
    h_.Press(h_.slider.KnobX() + kKnobHalf, kKnobY + 10);
    ASSERT_TRUE(h_.slider.Dragging());
    SetCapture(h_.main);  // someone else takes the mouse
    ReleaseCapture();
    EXPECT_FALSE(h_.slider.Dragging());
    SendMessageA(h_.frame.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(kKnobMaxX + kKnobHalf, kKnobY + 10));
    EXPECT_EQ(h_.Label(h_.hour), "12");
    PaintNow(h_.sliderWindow);
    EXPECT_EQ(ScreenAt(h_.slider.KnobX() + 10, kKnobY + 10), ToColorRef(kKnob));
}

TEST_F(SliderWindow, LabelClicksSelectTheFieldAndMoveTheSlider) {
    SendMessageA(h_.minute.label, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(h_.entry->Selected(), TimeField::Minute);
    EXPECT_EQ(PropAs<GpImage*>(h_.minuteFrame.Handle(), prop::kBackImage), h_.selected);
    EXPECT_EQ(PropAs<GpImage*>(h_.hourFrame.Handle(), prop::kBackImage), h_.plain);
    EXPECT_EQ(h_.slider.KnobX(), KnobXFromPercent(50));  // 30 / 59

    SendMessageA(h_.hour.label, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(h_.entry->Selected(), TimeField::Hour);
    EXPECT_EQ(PropAs<GpImage*>(h_.hourFrame.Handle(), prop::kBackImage), h_.selected);
    EXPECT_EQ(h_.slider.KnobX(), KnobXFromPercent(52));  // 12 / 23

    SetWindowTextA(h_.hour.label, "46");  // as a settings file may have it: past the right end
    SendMessageA(h_.hour.label, WM_LBUTTONUP, 0, 0);
    EXPECT_GT(h_.slider.KnobX(), kKnobMaxX);
}

TEST_F(SliderWindow, TypedValuesAreCommittedWhenTheBoxIsLeft) {
    int knob = h_.slider.KnobX();
    h_.Type(TimeField::Hour, "7");
    EXPECT_EQ(h_.Label(h_.hour), "07");
    EXPECT_FALSE(IsWindowVisible(h_.hour.edit));
    h_.Type(TimeField::Hour, "99");
    EXPECT_EQ(h_.Label(h_.hour), "23");
    h_.Type(TimeField::Minute, "75");
    EXPECT_EQ(h_.Label(h_.minute), "59");
    EXPECT_EQ(h_.entry->Selected(), TimeField::Minute);
    h_.Type(TimeField::Minute, "abc");
    EXPECT_EQ(h_.Label(h_.minute), "00");
    h_.Type(TimeField::Minute, "");
    EXPECT_EQ(h_.Label(h_.minute), "00");
    EXPECT_EQ(h_.slider.KnobX(), knob);  // typing never moves the slider
}

TEST_F(SliderWindow, DoubleClickOpensAnEmptyFocusedBoxAndEnterCommits) {
    // Labels are plain statics: their class must turn a second click into a double click.
    EXPECT_TRUE(GetClassLongA(h_.minute.label, GCL_STYLE) & CS_DBLCLKS);
    SendMessageA(h_.minute.label, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    EXPECT_TRUE(IsWindowVisible(h_.minute.edit));
    EXPECT_FALSE(IsWindowVisible(h_.hour.edit));
    EXPECT_EQ(GetFocus(), h_.minute.edit);
    EXPECT_EQ(GetWindowTextLengthA(h_.minute.edit), 0);
    SetWindowTextA(h_.minute.edit, "5");
    SendMessageA(h_.minute.edit, WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(h_.Label(h_.minute), "05");
    EXPECT_FALSE(IsWindowVisible(h_.minute.edit));

    SendMessageA(h_.minute.label, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    SetWindowTextA(h_.minute.edit, "44");
    SendMessageA(h_.minute.edit, WM_CHAR, VK_ESCAPE, 0);
    EXPECT_EQ(h_.Label(h_.minute), "05");

    SendMessageA(h_.hour.label, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    h_.entry->HideEditBoxes();
    EXPECT_FALSE(IsWindowVisible(h_.hour.edit));
}

TEST_F(SliderWindow, FillBarIsDrawn140PixelsWideAtFullAndWhiteIsSeeThrough) {
    h_.slider.MoveSliderTo(50);
    PaintNow(h_.sliderWindow);
    int oldKnob = h_.slider.KnobX();
    EXPECT_EQ(ScreenAt(oldKnob + 10, kKnobY), ToColorRef(kKnob));
    h_.slider.MoveSliderTo(100);
    EXPECT_EQ(h_.slider.FillWidth(), 140);
    PaintNow(h_.sliderWindow);
    // Where the knob was is see-through again once the main window has repainted what X uncovered.
    EXPECT_TRUE(WaitUntil([&] { return ScreenAt(oldKnob + 10, kKnobY) == kPanel; }, 3000));
    int row = kBaseY + 5 + 3;
    EXPECT_EQ(ScreenAt(kBaseX + 12, row), ToColorRef(kFillBar));
    EXPECT_EQ(ScreenAt(kKnobMaxX - 1, row), ToColorRef(kFillBar));  // the rest is under the knob
    EXPECT_EQ(ScreenAt(kBaseX + 6, row), ToColorRef(kFillStart));
    EXPECT_EQ(ScreenAt(kBaseX + 2, kBaseY + 1), ToColorRef(kTrack));
    EXPECT_EQ(ScreenAt(250, 20), kPanel);  // the slider window's white shows the main window
    EXPECT_EQ(ScreenAt(kBaseX + 60, kBaseY - 3), kPanel);

    h_.slider.MoveSliderTo(0);
    EXPECT_EQ(h_.slider.FillWidth(), 1);  // a sliver under the knob, never the old width
    h_.slider.MoveSliderTo(50);
    EXPECT_EQ(h_.slider.FillWidth(), 70);
}

TEST(AnimationFrameTest, ScaledObjectsCoverExactlyTheirScaledSize) {
    StartControlsModule();
    HWND host = MakeTestWindow(kLeft, kTop + 260, 302, 40, RGB(0, 0, 0));
    AnimationFrame frame;
    frame.Create(host, 0, 0, 302, 40);
    int bar = frame.AddObject(LoadImageFromBytes(SolidPng(2, 7, kFillBar)), 10, 10, 1);
    int under = frame.AddObject(LoadImageFromBytes(SolidPng(20, 20, kTrack)), 5, 5, 0);
    frame.SetScale(bar, 70000, 1000);
    frame.SetScale(bar, 0, 0);  // zero leaves the scale as it was
    PaintNow(host);
    int covered = 0;
    for (int x = 0; x < 302; ++x) covered += ScreenAt(x, 260 + 13) == ToColorRef(kFillBar);
    EXPECT_EQ(covered, 140);
    EXPECT_EQ(ScreenAt(10, 260 + 13), ToColorRef(kFillBar));  // the higher layer is on top
    EXPECT_EQ(ScreenAt(149, 260 + 13), ToColorRef(kFillBar));
    EXPECT_EQ(ScreenAt(150, 260 + 13), RGB(255, 255, 255));
    EXPECT_EQ(frame.ObjectAt(12, 12), bar);
    EXPECT_EQ(frame.ObjectAt(6, 6), under);
    EXPECT_EQ(frame.ObjectAt(200, 30), AnimationFrame::kNoObject);
}

}  // namespace
