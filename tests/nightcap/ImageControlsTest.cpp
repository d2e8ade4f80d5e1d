// The image-drawn controls on real windows under Wine: attaching, painting, button states, tooltips and
// the "VestaLoadDialog" class.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "nightcap/controls/ButtonStates.h"
#include "nightcap/controls/ControlPaint.h"
#include "nightcap/controls/ControlProperties.h"
#include "nightcap/controls/ControlsModule.h"
#include "nightcap/controls/ImageButton.h"
#include "nightcap/controls/ImageGeometry.h"
#include "nightcap/controls/ImagePictureBox.h"
#include "nightcap/controls/MemoryStream.h"
#include "nightcap/controls/ToolTip.h"
#include "nightcap/controls/VestaLoadDialog.h"
#include "tests/nightcap/ControlTestImages.h"

using namespace nightcap;

namespace {

constexpr COLORREF kBackground = RGB(20, 40, 200);
constexpr Gdiplus::ARGB kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00;
// Away from the middle of the screen, where the Nightcap that other tests start shows its window.
constexpr int kLeft = 700, kTop = 20;

// Counts the blits that put finished control pictures on the screen.
int g_presents = 0;
SIZE g_presentSize = {};
BOOL WINAPI CountingBlit(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
    ++g_presents;
    g_presentSize = {w, h};
    return BitBlt(dst, x, y, w, h, src, sx, sy, rop);
}

class ImageControls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartControlsModule());
        // One window for the whole suite: destroying a shown top-level window costs Wine two seconds.
        static HWND window = MakeTestWindow(kLeft, kTop, 300, 200, kBackground);
        window_ = window;
        ASSERT_NE(window_, nullptr);
        SetPresentBlit(CountingBlit);
        g_presents = 0;
    }
    void TearDown() override {
        SetPresentBlit(nullptr);
        while (HWND child = GetWindow(window_, GW_CHILD)) DestroyWindow(child);
        InvalidateRect(window_, nullptr, TRUE);
        PaintNow(window_);
    }
    HWND Child(const char* cls, int x, int y, int w, int h, DWORD style = 0) {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, w, h, window_,
                               nullptr, nullptr, nullptr);
    }
    COLORREF At(int x, int y) { return ScreenPixel(kLeft + x, kTop + y); }
    static COLORREF ScreenPixel(int x, int y) {
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, x, y);
        ReleaseDC(nullptr, screen);
        return c;
    }

    HWND window_ = nullptr;
};

TEST_F(ImageControls, AttachMarksTheWindowAndLetsTheParentPaintBeneath) {
    SetWindowLongA(window_, GWL_STYLE, GetWindowLongA(window_, GWL_STYLE) | WS_CLIPCHILDREN);
    HWND box = Child("Static", 10, 10, 50, 50);
    ImagePictureBox picture;
    ASSERT_TRUE(picture.Attach(box));
    EXPECT_EQ(picture.Handle(), box);
    EXPECT_EQ(PropValue(box, prop::kType), kKindPictureBox);
    EXPECT_NE(PropValue(box, prop::kWndProc), 0);
    EXPECT_NE(PropValue(window_, prop::kWndProc), 0);
    char text[64] = {};
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ(text, "晨星真彩控件.图片框");
    EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_FALSE(GetWindowLongA(box, GWL_STYLE) & WS_CLIPSIBLINGS);
    EXPECT_FALSE(GetWindowLongA(window_, GWL_STYLE) & WS_CLIPCHILDREN);

    HWND push = Child("Button", 70, 10, 50, 30);
    ImageButton button;
    ASSERT_TRUE(button.Attach(push));
    EXPECT_EQ(PropValue(push, prop::kType), kKindButton);
    EXPECT_EQ(GetWindowLongA(push, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

    ImagePictureBox none;
    EXPECT_FALSE(none.Attach(reinterpret_cast<HWND>(0x1234)));
    EXPECT_EQ(none.Handle(), nullptr);
    EXPECT_FALSE(none.IsValid());
    EXPECT_TRUE(picture.IsValid());
}

TEST_F(ImageControls, ParentsAreSubclassedOnceAndImageControlParentsNotAtAll) {
    ImagePictureBox outer, inner, second;
    ASSERT_TRUE(outer.Attach(Child("Static", 10, 10, 200, 150)));
    LONG_PTR windowProc = GetWindowLongPtrA(window_, GWLP_WNDPROC);
    LONG_PTR outerProc = GetWindowLongPtrA(outer.Handle(), GWLP_WNDPROC);
    HANDLE outerPrevious = GetPropA(outer.Handle(), prop::kWndProc);

    HWND innerWindow = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 5, 5, 40, 40, outer.Handle(),
                                       nullptr, nullptr, nullptr);
    ASSERT_TRUE(inner.Attach(innerWindow));
    EXPECT_EQ(GetWindowLongPtrA(outer.Handle(), GWLP_WNDPROC), outerProc);
    EXPECT_EQ(GetPropA(outer.Handle(), prop::kWndProc), outerPrevious);

    ASSERT_TRUE(second.Attach(Child("Static", 220, 10, 40, 40)));
    EXPECT_EQ(GetWindowLongPtrA(window_, GWLP_WNDPROC), windowProc);  // already subclassed: left alone
}

TEST_F(ImageControls, ParentMakesImageControlsTransparentOnly) {
    ImagePictureBox picture;
    HWND box = Child("Static", 10, 10, 50, 50);
    HWND plain = Child("Static", 70, 10, 50, 50);
    ASSERT_TRUE(picture.Attach(box));
    HDC dc = GetDC(window_);
    LRESULT brush = SendMessageA(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    SetBkMode(dc, OPAQUE);
    brush = SendMessageA(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(plain));
    EXPECT_NE(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    ReleaseDC(window_, dc);
}

TEST_F(ImageControls, FittedImageIsDrawnCentredOverTheParentsBackground) {
    HWND box = Child("Static", 20, 20, 150, 150);
    ImagePictureBox picture;
    ASSERT_TRUE(picture.Attach(box));
    picture.SetBackType(kBackFitted);
    picture.LoadBackImage(SolidPng(300, 100, kRed));
    PaintNow(window_);
    EXPECT_EQ(At(20 + 75, 20 + 25), kBackground);
    EXPECT_EQ(At(20 + 75, 20 + 49), kBackground);
    EXPECT_EQ(At(20 + 75, 20 + 50), RGB(255, 0, 0));
    EXPECT_EQ(At(20 + 0, 20 + 99), RGB(255, 0, 0));
    EXPECT_EQ(At(20 + 149, 20 + 99), RGB(255, 0, 0));
    EXPECT_EQ(At(20 + 75, 20 + 100), kBackground);

    // Undecodable bytes leave only the background.
    picture.LoadBackImage("not an image");
    EXPECT_EQ(PropValue(box, prop::kBackImage), 0);
    PaintNow(window_);
    EXPECT_EQ(At(20 + 75, 20 + 75), kBackground);
}

TEST_F(ImageControls, EachPaintIsOneBlitOfTheWholeControlAndNothingIsErased) {
    HWND box = Child("Static", 20, 20, 60, 40);
    ImagePictureBox picture;
    ASSERT_TRUE(picture.Attach(box));
    picture.LoadBackImage(SolidPng(60, 40, kGreen));
    PaintNow(window_);
    EXPECT_EQ(At(40, 40), RGB(0, 255, 0));

    for (int i = 1; i <= 3; ++i) {
        g_presents = 0;
        picture.Redraw();
        PaintNow(window_);
        EXPECT_EQ(g_presents, 1) << "paint " << i;
        EXPECT_EQ(g_presentSize.cx, 60);
        EXPECT_EQ(g_presentSize.cy, 40);
    }
    HDC dc = GetDC(box);
    EXPECT_EQ(SendMessageA(box, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(box, dc);
    EXPECT_EQ(At(40, 40), RGB(0, 255, 0));
    EXPECT_NE(PropValue(box, prop::kCacheBitmap), 0);
}

TEST_F(ImageControls, StateStripIsCutIntoStateImages) {
    ImageButton button;
    HWND push = Child("Button", 10, 10, 80, 60);
    ASSERT_TRUE(button.Attach(push));
    button.LoadStateStrip(BandsPng(240, 60, {kRed, kGreen, kBlue}));
    auto image = [&](const char* name) { return PropAs<GpImage*>(push, name); };
    int w = 0, h = 0;
    ASSERT_TRUE(ImageSize(image(prop::kNormalImage), &w, &h));
    EXPECT_EQ(w, 80);
    EXPECT_EQ(h, 60);
    EXPECT_EQ(ImagePixel(image(prop::kNormalImage), 79, 30), kRed);
    EXPECT_EQ(ImagePixel(image(prop::kOverImage), 0, 30), kGreen);
    EXPECT_EQ(ImagePixel(image(prop::kOverImage), 79, 30), kGreen);
    EXPECT_EQ(ImagePixel(image(prop::kDownImage), 0, 0), kBlue);
    EXPECT_EQ(image(prop::kDisableImage), nullptr);

    std::vector<GpImage*> six = CutStateStrip(BandsPng(240, 60, {kRed, kGreen, kBlue, kYellow, kRed, kRed}), 6,
                                              false, 0);
    ASSERT_EQ(six.size(), 4u);
    ASSERT_TRUE(ImageSize(six[3], &w, &h));
    EXPECT_EQ(w, 40);
    EXPECT_EQ(ImagePixel(six[3], 20, 20), kYellow);

    std::vector<GpImage*> one = CutStateStrip(SolidPng(24, 12, kRed), 1, false, 0);
    ASSERT_EQ(one.size(), 1u);
    ASSERT_TRUE(ImageSize(one[0], &w, &h));
    EXPECT_EQ(w, 24);

    EXPECT_TRUE(CutStateStrip("\x89PNG broken", 3, false, 0).empty());
    for (GpImage* frame : six) ReleaseImage(frame);
    ReleaseImage(one[0]);
}

TEST_F(ImageControls, ButtonFollowsTheMouseWithItsStateImages) {
    ImageButton button;
    HWND push = Child("Button", 100, 50, 80, 60);
    ASSERT_TRUE(button.Attach(push));
    button.LoadStateStrip(BandsPng(320, 60, {kRed, kGreen, kBlue, kYellow}), 4);
    PaintNow(window_);
    auto state = [&] { return PropValue(push, prop::kDrawState); };
    auto shown = [&] { return At(140, 80); };
    EXPECT_EQ(shown(), RGB(255, 0, 0));

    LPARAM inside = MAKELPARAM(10, 10);
    SendMessageA(push, WM_MOUSEMOVE, 0, inside);
    EXPECT_EQ(state(), kStateOver);
    g_presents = 0;
    PaintNow(window_);
    EXPECT_EQ(g_presents, 1);
    EXPECT_EQ(shown(), RGB(0, 255, 0));

    g_presents = 0;
    SendMessageA(push, WM_MOUSEMOVE, 0, MAKELPARAM(12, 12));  // still over: no repaint
    PaintNow(window_);
    EXPECT_EQ(g_presents, 0);

    SendMessageA(push, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_EQ(state(), kStateDown);
    PaintNow(window_);
    EXPECT_EQ(shown(), RGB(0, 0, 255));

    SendMessageA(push, WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(state(), kStateOver);
    PaintNow(window_);
    EXPECT_EQ(shown(), RGB(0, 255, 0));

    SendMessageA(push, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(state(), kStateNormal);
    PaintNow(window_);
    EXPECT_EQ(shown(), RGB(255, 0, 0));

    EnableWindow(push, FALSE);
    EXPECT_EQ(state(), kStateDisabled);
    PaintNow(window_);
    EXPECT_EQ(shown(), RGB(255, 255, 0));
    EnableWindow(push, TRUE);
    EXPECT_EQ(state(), kStateNormal);
}

TEST_F(ImageControls, ButtonWithoutAStateImageFallsBackToNormal) {
    ImageButton button;
    HWND push = Child("Button", 100, 50, 80, 60);
    ASSERT_TRUE(button.Attach(push));
    button.LoadStateStrip(BandsPng(240, 60, {kRed, kGreen, kBlue}));
    EnableWindow(push, FALSE);
    PaintNow(window_);
    EXPECT_EQ(At(140, 80), RGB(255, 0, 0));
}

TEST_F(ImageControls, SecondToolTipUpdatesTheTextInsteadOfAddingATool) {
    ImagePictureBox first, second;
    ASSERT_TRUE(first.Attach(Child("Static", 10, 10, 50, 50)));
    ASSERT_TRUE(second.Attach(Child("Static", 70, 10, 50, 50)));
    first.SetToolTip("开始");
    HWND tip = SharedToolTipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(PropValue(first.Handle(), prop::kToolTips), 1);
    first.SetToolTip("第二次");
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(SharedToolTipWindow(), tip);

    char text[80] = {};
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = first.Handle();
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "第二次");
    EXPECT_FALSE(tool.uFlags & TTF_CENTERTIP);

    second.SetToolTip("居中", 0);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = second.Handle();
    ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_TRUE(info.uFlags & TTF_CENTERTIP);
    EXPECT_TRUE(info.uFlags & TTF_SUBCLASS);
}

TEST_F(ImageControls, BoundsKeepWhatIsNotGiven) {
    ImagePictureBox picture;
    ASSERT_TRUE(picture.Attach(Child("Static", 10, 20, 50, 60)));
    auto rect = [&] {
        RECT r;
        GetWindowRect(picture.Handle(), &r);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    picture.SetBounds(30, 40);
    EXPECT_EQ(rect().left, 30);
    EXPECT_EQ(rect().top, 40);
    EXPECT_EQ(rect().right - rect().left, 50);
    picture.SetBounds(std::nullopt, std::nullopt, 70, 80);
    EXPECT_EQ(rect().left, 30);
    EXPECT_EQ(rect().bottom - rect().top, 80);
    picture.SetBounds(std::nullopt, 5);
    EXPECT_EQ(rect().left, 30);
    EXPECT_EQ(rect().top, 5);
}

TEST(MemoryStreamTest, HoldsACopyOfTheBytesOrGrowsWhenWritten) {
    MemoryStream stream;
    const char bytes[] = "abc\0def";
    ASSERT_TRUE(stream.Open(bytes, 7));
    EXPECT_EQ(stream.Size(), 7u);
    EXPECT_EQ(stream.ToBytes(), std::string(bytes, 7));

    ASSERT_TRUE(stream.Open());
    EXPECT_EQ(stream.Size(), 0u);
    ULONG written = 0;
    ASSERT_EQ(stream.Stream()->Write("hello", 5, &written), S_OK);
    EXPECT_EQ(stream.ToBytes(), "hello");
    stream.Free();
    EXPECT_EQ(stream.Stream(), nullptr);
    EXPECT_EQ(stream.ToBytes(), "");
}

TEST(LoadImageFromBytesTest, DecodesPngAndRefusesAnythingElse) {
    ASSERT_TRUE(StartControlsModule());
    GpImage* image = LoadImageFromBytes(SolidPng(7, 5, kBlue));
    int w = 0, h = 0;
    ASSERT_TRUE(ImageSize(image, &w, &h));
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 5);
    EXPECT_EQ(ImagePixel(image, 3, 3), kBlue);
    ReleaseImage(image);
    EXPECT_EQ(LoadImageFromBytes(std::string("GIF89a")), nullptr);
    EXPECT_EQ(LoadImageFromBytes(std::string()), nullptr);
    std::string cut = SolidPng(7, 5, kBlue);
    cut.resize(cut.size() / 2);
    EXPECT_EQ(LoadImageFromBytes(cut), nullptr);
}

DWORD WINAPI WaitForever(void* event) {
    WaitForSingleObject(event, INFINITE);
    return 7;
}

TEST(VestaLoadDialogTest, DestroyingWithoutPropertiesFreesNothingAndWithThemFreesAll) {
    ASSERT_TRUE(StartControlsModule());
    HWND bare = CreateWindowExA(0, kVestaLoadDialogClass, "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(bare, nullptr);
    RECT before, after;
    GetWindowRect(bare, &before);
    SendMessageA(bare, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));  // no "VestaHitMove": stays put
    GetWindowRect(bare, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(DestroyWindow(bare));

    HWND owner = CreateWindowExA(0, kVestaLoadDialogClass, "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr,
                                 nullptr);
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, WaitForever, never, 0, nullptr);
    HANDLE watch = nullptr;
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &watch, 0, FALSE, DUPLICATE_SAME_ACCESS);
    SetPropA(owner, "Vesta_Thread", thread);
    SetPropA(owner, "Vesta_Image", LoadImageFromBytes(SolidPng(4, 4, kRed)));
    SetPropA(owner, "Vesta_Stream", GlobalAlloc(GMEM_FIXED, 64));
    EXPECT_TRUE(DestroyWindow(owner));
    EXPECT_EQ(WaitForSingleObject(watch, 5000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeThread(watch, &code);
    EXPECT_EQ(code, 0u);  // stopped, not finished
    CloseHandle(watch);
    CloseHandle(never);
}

}  // namespace
