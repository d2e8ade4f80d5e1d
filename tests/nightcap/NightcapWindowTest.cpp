// The real Nightcap.exe under Wine: its windows, controls, tray icon, single instance and the screenshot.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "nightcap/app/ControlIds.h"
#include "tests/nightcap/NightcapUnderTest.h"
#include "tests/nightcap/ShellBalloons.h"
#include "tests/support/Screenshot.h"

using namespace nightcap;

namespace {

RECT PlaceInParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(NightcapWindow, MainWindowIsTheBorderlessNightcapWindow) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig));
    HWND main = nc.Main();
    EXPECT_EQ(WindowTextW(main), L"定时关机");
    EXPECT_EQ(WindowTextA(main), "定时关机");
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 302);
    EXPECT_EQ(r.bottom - r.top, 252);
    EXPECT_FALSE(GetWindowLongA(main, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(main, region.Get()), COMPLEXREGION);  // the rounded outline
}

constexpr const char* kPictureBoxText = "晨星真彩控件.图片框";

TEST(NightcapWindow, ControlsSitWhereTheLayoutPutsThem) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig));
    // The lookups fill the panel after the window shows; without a network they fail at once.
    ASSERT_TRUE(nc.WaitForText(透明标签_天气2, "空气质量：优质"));
    struct Expected {
        int id;
        int parent;  // 0: the main window
        RECT place;  // left, top, right, bottom in the parent
        const char* text;
        bool visible;
    } table[] = {
        // Picture boxes carry the image controls' own window text once they are bound.
        {按钮_关闭, 0, {281, 0, 298, 17}, "关闭", true},
        {按钮_最小, 0, {262, 0, 279, 17}, "最小", true},
        {透明标签_城市, 0, {184, 1, 254, 17}, "", true},
        {图片框_天气, 0, {184, 15, 230, 61}, kPictureBoxText, true},
        {透明标签_天气, 0, {213, 19, 296, 35}, "", true},
        {透明标签_天气1, 0, {213, 35, 296, 51}, "-", true},  // without a network: the empty range
        {透明标签_天气2, 0, {211, 52, 296, 68}, "空气质量：优质", true},
        {图片框_切换, 0, {2, 74, 298, 113}, kPictureBoxText, true},
        {透明标签_切换1, 图片框_切换, {36, 6, 136, 26}, "指定时间关机", true},
        {透明标签_切换2, 图片框_切换, {192, 6, 292, 26}, "倒计时关机", true},
        {图片框_时间, 0, {2, 113, 298, 220}, kPictureBoxText, true},
        {图片框_时, 图片框_时间, {21, 14, 87, 70}, kPictureBoxText, true},
        {标签_时, 图片框_时, {3, 3, 63, 53}, "12", true},
        {编辑框_时, 图片框_时, {3, 3, 63, 48}, "12", false},
        {图片框_分, 图片框_时间, {106, 14, 172, 70}, kPictureBoxText, true},
        {标签_分, 图片框_分, {3, 3, 63, 53}, "30", true},
        {编辑框_分, 图片框_分, {3, 3, 63, 48}, "30", false},
        {按钮_执行, 图片框_时间, {196, 60, 290, 100}, "执行", true},
        {透明标签_时间, 0, {5, 228, 233, 248}, nullptr, true},
        {透明标签_版本号, 0, {230, 228, 300, 248}, "版本：1.002", true},  // set by the version check
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.id);
        HWND control = nc.Control(e.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetParent(control), e.parent ? nc.Control(e.parent) : nc.Main());
        RECT r = PlaceInParent(control);
        EXPECT_EQ(r.left, e.place.left);
        EXPECT_EQ(r.top, e.place.top);
        EXPECT_EQ(r.right, e.place.right);
        EXPECT_EQ(r.bottom, e.place.bottom);
        if (e.text) {
            EXPECT_EQ(WindowTextA(control), e.text);
        }
        EXPECT_EQ(IsWindowVisible(control) != FALSE, e.visible);
    }
}

TEST(NightcapWindow, SliderWindowIsLayeredOwnedAndFollowsTheMainWindow) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig));
    HWND slider = nc.Slider();
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(GetWindow(slider, GW_OWNER), nc.Main());
    EXPECT_TRUE(IsWindowVisible(slider));
    EXPECT_EQ(GetWindowLongA(slider, GWL_EXSTYLE), WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(slider, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(255, 255, 255));
    EXPECT_EQ(alpha, 250);
    EXPECT_EQ(flags, DWORD(LWA_COLORKEY | LWA_ALPHA));
    HWND frame = nc.Control(UI动画框);
    ASSERT_NE(frame, nullptr);
    RECT f;
    GetClientRect(frame, &f);
    EXPECT_EQ(f.right, 302);
    EXPECT_EQ(f.bottom, 252);

    SetWindowPos(nc.Main(), nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] {
        RECT r;
        GetWindowRect(slider, &r);
        return r.left == 40 && r.top == 60 && r.right - r.left == 302;
    }));
}

TEST(NightcapWindow, TrayClicksAndTheMinimiseButtonShowAndHideBothWindows) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig));
    HWND main = nc.Main(), slider = nc.Slider();
    auto shown = [&] { return IsWindowVisible(main) && IsWindowVisible(slider); };
    auto hidden = [&] { return !IsWindowVisible(main) && !IsWindowVisible(slider); };

    nc.Click(按钮_最小);
    ASSERT_TRUE(WaitUntil(hidden));
    nc.TrayMouse(WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil(shown));
    nc.TrayMouse(WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil(hidden));
    // A double click arrives as a press and a double-click message: two toggles.
    nc.TrayMouse(WM_LBUTTONDOWN);
    nc.TrayMouse(WM_LBUTTONDBLCLK);
    nc.TrayMouse(WM_MOUSEMOVE);  // ignored
    nc.Command(菜单_显示);
    ASSERT_TRUE(WaitUntil(shown));
    // The taskbar came back: the program adds its icon again and goes on.
    PostMessageA(main, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    nc.TrayMouse(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil(hidden));
    EXPECT_TRUE(nc.Process().Running());
}

TEST(NightcapWindow, RightClickOnTheTrayIconOpensTheMenuWhoseLastItemEndsTheProgram) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig));
    nc.Click(透明标签_切换2);
    nc.TrayMouse(WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND hwnd : nc.Process().TopLevelWindows())
            if (ClassNameOf(hwnd) == L"#32768" && IsWindowVisible(hwnd)) menu = hwnd;
        return menu != nullptr;
    }));
    // "显示", then "结束": the menu's own keyboard loop picks the second item.
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(menu, WM_KEYDOWN, key, 0);
    DWORD code = 1;
    ASSERT_TRUE(nc.Process().WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_NE(nc.Config().find("time=1"), std::string::npos);
}

TEST(NightcapWindow, SecondCopyEndsAtOnceAndLeavesTheFirstAsItWas) {
    NightcapUnderTest first;
    ASSERT_TRUE(first.Start(kShippedConfig));
    first.Click(按钮_最小);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(first.Main()); }));

    TempFolder other;
    ASSERT_TRUE(CopyFileTo(BuildFolder() + L"\\Nightcap.exe", other / L"Nightcap.exe"));
    ASSERT_TRUE(WriteFileBytes(other / L"config.ini", kShippedConfig));
    Program second;
    ASSERT_TRUE(second.Start(other / L"Nightcap.exe"));
    DWORD code = 1;
    ASSERT_TRUE(second.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);

    EXPECT_TRUE(first.Process().Running());
    EXPECT_TRUE(IsWindow(first.Main()));
    EXPECT_FALSE(IsWindowVisible(first.Main()));
    std::string config;
    ASSERT_TRUE(ReadFileBytes(other / L"config.ini", &config));
    EXPECT_EQ(config, kShippedConfig);  // the second copy saved nothing
}

// Writes the main window's picture beside the tests (tools/screenshot-nightcap.sh copies it into docs/).
TEST(NightcapWindow, Screenshot) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2026-06-27 21:05:07"));
    ASSERT_TRUE(nc.WaitForText(透明标签_时间, "现在时间：2026年6月27日21时5分7秒"));
    // The skin is on screen: the chosen tab's fill in the tab strip, the execute button's amber (its parent, the
    // time panel, paints first) and the slider's fill in the slider window.
    RECT r;
    GetWindowRect(nc.Main(), &r);
    auto amber = [](COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 120 && GetBValue(c) < 80; };
    EXPECT_TRUE(WaitUntil([&] {
        return ScreenPixel(r.left + 5, r.top + 100) == RGB(0x1c, 0x31, 0x58) &&
               amber(ScreenPixel(r.left + 208, r.top + 193)) && amber(ScreenPixel(r.left + 40, r.top + 192));
    }));
    std::wstring png = BuildFolder() + L"\\nightcap-main.png";
    ASSERT_TRUE(SaveScreenshot(nc.Main(), png));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(png, &bytes));
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
}

// Armed and hidden to the tray: the whole screen with the shell's tray window, the icon and the arming balloon
// (tools/screenshot-nightcap.sh copies it into docs/).
TEST(NightcapWindow, ArmedInTheTrayScreenshot) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2026-06-27 21:05:07"));
    nc.Click(透明标签_切换2);
    nc.SetText(标签_时, "01");
    nc.SetText(标签_分, "30");
    nc.Click(按钮_执行);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(nc.Main()); }));
    // The arming notice, as the shell shows it.
    HWND balloon = nullptr;
    auto shown = [&] { return (balloon = BalloonShowing(L"剩余时间：1小时30分钟后将自动关机！")) != nullptr; };
    ASSERT_TRUE(WaitUntil(shown));
    // Painted: its middle is no longer the colour of the empty screen beneath.
    RECT r;
    GetWindowRect(balloon, &r);
    COLORREF empty = ScreenPixel(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2) != empty; }));
    std::wstring png = BuildFolder() + L"\\nightcap-armed-tray.png";
    ASSERT_TRUE(SaveScreenshot(nullptr, png));
    nc.Click(按钮_执行);  // cancelled: nothing is asked of Windows
    EXPECT_EQ(nc.PowerLog(), "");
}

}  // namespace
