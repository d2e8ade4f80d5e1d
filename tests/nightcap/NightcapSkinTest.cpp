// The skin bound to a window laid out like Nightcap's main window, with the real art from the resources:
// what the user sees in the idle and armed states, and the see-through slider window over it.
#include <gtest/gtest.h>
#include <windows.h>

#include "assets/nightcap/NightcapResources.h"
#include "nightcap/app/NightcapSkin.h"
#include "nightcap/app/SliderGeometry.h"
#include "nightcap/controls/ControlProperties.h"
#include "nightcap/controls/ControlsModule.h"
#include "tests/nightcap/ControlTestImages.h"
#include "tests/support/ProgramDriver.h"

using namespace nightcap;

namespace {

// Away from the middle of the screen, where the Nightcap that other tests start shows its window.
constexpr int kLeft = 20, kTop = 490;
constexpr COLORREF kAmber = RGB(0xFF, 0xAE, 0x01);
constexpr COLORREF kFieldFill = RGB(0x10, 0x1F, 0x3C);
constexpr COLORREF kPanel = RGB(0x13, 0x23, 0x40);

HBITMAP g_background = nullptr;

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        HDC memory = CreateCompatibleDC(reinterpret_cast<HDC>(wParam));
        HGDIOBJ old = SelectObject(memory, g_background);
        BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, 302, 252, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND MakeWindow(const char* cls, DWORD exStyle, HWND owner) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FormProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    if (exStyle) wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassExA(&wc);
    if (exStyle) wc.lpfnWndProc = DefWindowProcA;
    return CreateWindowExA(exStyle, cls, "", WS_POPUP | WS_VISIBLE, kLeft, kTop, 302, 252, owner, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HWND Child(HWND parent, const char* cls, const char* text, int x, int y, int w, int h, DWORD style = 0) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr, nullptr, nullptr);
}

COLORREF ScreenAt(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, kLeft + x, kTop + y);
    ReleaseDC(nullptr, screen);
    return c;
}

bool Near(COLORREF a, COLORREF b, int tolerance = 24) {
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// The form as Nightcap lays it out, skinned once for the whole test program.
struct SkinnedForm {
    HWND main = nullptr, sliderWindow = nullptr;
    MainWindowControls c;
    NightcapSkin skin;
    bool bound = false;

    SkinnedForm() {
        StartControlsModule();
        g_background = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BACKGROUND),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        main = MakeWindow("SkinTestMain", 0, nullptr);
        c.closeButton = Child(main, "Button", "关闭", 281, 0, 17, 17);
        c.minimiseButton = Child(main, "Button", "最小", 262, 0, 17, 17);
        c.weatherBox = Child(main, "Static", "", 184, 15, 46, 46, SS_NOTIFY);
        c.tabStrip = Child(main, "Static", "", 2, 74, 296, 39, SS_NOTIFY);
        c.timePanel = Child(main, "Static", "", 2, 113, 296, 107, SS_NOTIFY);
        c.hourFrame = Child(c.timePanel, "Static", "", 21, 14, 66, 56, SS_NOTIFY);
        c.minuteFrame = Child(c.timePanel, "Static", "", 106, 14, 66, 56, SS_NOTIFY);
        HFONT big = CreateFontA(35, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
        auto field = [&](HWND frame, const char* text, HWND* label, HWND* edit) {
            *label = Child(frame, "Static", text, 3, 3, 60, 50, SS_NOTIFY | SS_CENTER | SS_CENTERIMAGE);
            *edit = CreateWindowExA(0, "Edit", text, WS_CHILD | ES_CENTER, 3, 3, 60, 45, frame, nullptr, nullptr,
                                    nullptr);
            SendMessageA(*label, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
            SendMessageA(*edit, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
        };
        field(c.hourFrame, "12", &c.hourLabel, &c.hourEdit);
        field(c.minuteFrame, "30", &c.minuteLabel, &c.minuteEdit);
        c.executeButton = Child(c.timePanel, "Button", "执行", 196, 60, 94, 40);
        bound = skin.Bind(c);
        skin.Entry().Select(TimeField::Hour);

        sliderWindow = MakeWindow("SkinTestSlider", WS_EX_LAYERED, main);
        SetLayeredWindowAttributes(sliderWindow, RGB(255, 255, 255), 250, LWA_COLORKEY | LWA_ALPHA);
        skin.BuildSlider(sliderWindow);
        skin.Entry().Select(TimeField::Hour);
        PaintNow(main);
        PaintNow(sliderWindow);
    }
};

SkinnedForm& Form() {
    static SkinnedForm* form = new SkinnedForm;
    return *form;
}

TEST(NightcapSkin, BindsEveryControlWithItsImages) {
    SkinnedForm& f = Form();
    ASSERT_TRUE(f.bound);
    for (HWND box : {f.c.tabStrip, f.c.timePanel, f.c.hourFrame, f.c.minuteFrame, f.c.weatherBox})
        EXPECT_EQ(PropValue(box, prop::kType), kKindPictureBox);
    for (HWND button : {f.c.executeButton, f.c.closeButton, f.c.minimiseButton}) {
        EXPECT_EQ(PropValue(button, prop::kType), kKindButton);
        EXPECT_NE(PropValue(button, prop::kOverImage), 0);
    }
    int w = 0, h = 0;
    ASSERT_TRUE(ImageSize(PropAs<GpImage*>(f.c.executeButton, prop::kNormalImage), &w, &h));
    EXPECT_EQ(w, 94);
    EXPECT_EQ(h, 40);
    ASSERT_TRUE(ImageSize(PropAs<GpImage*>(f.c.closeButton, prop::kDownImage), &w, &h));
    EXPECT_EQ(w, 17);
    ASSERT_TRUE(ImageSize(PropAs<GpImage*>(f.c.tabStrip, prop::kBackImage), &w, &h));
    EXPECT_EQ(w, 296);
    EXPECT_EQ(h, 39);
    BITMAP bm = {};
    ASSERT_TRUE(GetObjectA(g_background, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 302);
    EXPECT_EQ(bm.bmHeight, 252);
    EXPECT_EQ(bm.bmBitsPixel, 24);
}

TEST(NightcapSkin, SelectedFrameIsLitAndLabelsSitOnTheFramesFill) {
    SkinnedForm& f = Form();
    f.skin.Entry().Select(TimeField::Hour);
    PaintNow(f.main);
    // Hour frame at (23, 127) in the window, its 2-pixel border at the frame's left edge.
    EXPECT_TRUE(Near(ScreenAt(23 + 1, 127 + 28), kAmber)) << std::hex << ScreenAt(24, 155);
    EXPECT_FALSE(Near(ScreenAt(108 + 1, 127 + 28), kAmber));
    EXPECT_EQ(ScreenAt(23 + 5, 127 + 5), kFieldFill);  // label corner: the label's fill matches the art
    EXPECT_EQ(ScreenAt(23 + 62, 127 + 50), kFieldFill);

    SendMessageA(f.c.minuteLabel, WM_LBUTTONUP, 0, 0);
    PaintNow(f.main);
    EXPECT_TRUE(Near(ScreenAt(108 + 1, 127 + 28), kAmber));
    EXPECT_FALSE(Near(ScreenAt(23 + 1, 127 + 28), kAmber));
    f.skin.Entry().Select(TimeField::Hour);
}

TEST(NightcapSkin, TabStripAndExecuteButtonSwitchTheirImages) {
    SkinnedForm& f = Form();
    // The chosen tab's amber underline runs under its half of the strip (strip at (2, 74)).
    auto underlined = [&](int x) { return Near(ScreenAt(2 + x, 74 + 35), kAmber); };
    EXPECT_TRUE(underlined(70));
    EXPECT_FALSE(underlined(220));
    f.skin.ShowCountdownTab(true);
    PaintNow(f.main);
    EXPECT_FALSE(underlined(70));
    EXPECT_TRUE(underlined(220));
    f.skin.ShowCountdownTab(false);

    // Button at (198, 173); its body is amber when idle and coral when armed.
    COLORREF idle = ScreenAt(198 + 10, 173 + 20);
    EXPECT_GT(GetGValue(idle), 120);
    f.skin.ShowArmedButton(true);
    PaintNow(f.main);
    COLORREF armed = ScreenAt(198 + 10, 173 + 20);
    EXPECT_LT(GetGValue(armed), 120);
    EXPECT_GT(GetRValue(armed), 180);
    f.skin.ShowArmedButton(false);
    PaintNow(f.main);
    EXPECT_EQ(ScreenAt(198 + 10, 173 + 20), idle);
}

TEST(NightcapSkin, SliderIsPaintedOverTheMainWindowWithNoWhiteShowing) {
    SkinnedForm& f = Form();
    int oldKnob = f.skin.SliderControl().KnobX();
    f.skin.SliderControl().MoveSliderTo(100);
    PaintNow(f.sliderWindow);
    // X uncovers the old knob's place and the main window repaints it a moment later.
    auto uncovered = [&] {
        for (int y = slider::kKnobY; y < slider::kKnobY + 20; y += 18)
            if (!Near(ScreenAt(oldKnob + 10, y), kPanel, 8)) return false;
        return true;
    };
    EXPECT_TRUE(WaitUntil(uncovered, 3000));
    int whites = 0;
    for (int y = 0; y < 252; y += 3)
        for (int x = 0; x < 302; x += 3) whites += ScreenAt(x, y) == RGB(255, 255, 255);
    EXPECT_EQ(whites, 0);
    EXPECT_TRUE(Near(ScreenAt(slider::kBaseX + 80, slider::kBaseY + 8), kAmber, 60));  // the fill

    f.skin.Entry().Select(TimeField::Hour);
}

}  // namespace
