// The real Nightcap.exe under Wine: the slider drag, typed values and label clicks set the hour and minute,
// and the skin follows the tabs and arming.
#include <gtest/gtest.h>

#include "nightcap/app/ControlIds.h"
#include "nightcap/app/SliderGeometry.h"
#include "nightcap/controls/ControlProperties.h"
#include "tests/nightcap/NightcapUnderTest.h"
#include "tests/support/Screenshot.h"

using namespace nightcap;

namespace {

using namespace slider;

// A drag of the knob from where it stands to mouse x, as the slider window's frame receives it.
void Drag(const NightcapUnderTest& nc, int fromKnobX, int toMouseX) {
    HWND frame = nc.Control(UI动画框);
    SendMessageA(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromKnobX + kKnobHalf, kKnobY + 10));
    SendMessageA(frame, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toMouseX, kKnobY + 10));
    SendMessageA(frame, WM_LBUTTONUP, 0, MAKELPARAM(toMouseX, kKnobY + 10));
}

void Release(const NightcapUnderTest& nc, int label) { SendMessageA(nc.Control(label), WM_LBUTTONUP, 0, 0); }

// Double click on the label, type into its edit box, press Enter.
void Type(const NightcapUnderTest& nc, int label, int edit, const char* text) {
    SendMessageA(nc.Control(label), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    nc.SetText(edit, text);
    SendMessageA(nc.Control(edit), WM_CHAR, VK_RETURN, 0);
}

bool Amber(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 150 && GetBValue(c) < 120; }

TEST(NightcapTimeEntry, SliderDragsSetTheSelectedField) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig));
    int knob = KnobXFromPercent(PercentFromHour(12));
    // The slider window is shown over the main window from the start: the knob is on screen.
    RECT r;
    GetWindowRect(nc.Main(), &r);
    EXPECT_TRUE(WaitUntil([&] { return Amber(ScreenPixel(r.left + knob + kKnobHalf + 5, r.top + kKnobY + 10)); }));

    Drag(nc, knob, 0);
    EXPECT_EQ(nc.Text(标签_时), "00");
    Drag(nc, kKnobMinX, 5000);
    EXPECT_EQ(nc.Text(标签_时), "23");
    Drag(nc, kKnobMaxX, KnobXFromPercent(50) + kKnobHalf + 1);
    EXPECT_EQ(nc.Text(标签_时), "11");

    Release(nc, 标签_分);  // the minute is selected; the knob jumps to 30 / 59
    Drag(nc, KnobXFromPercent(PercentFromMinute(30)), 5000);
    EXPECT_EQ(nc.Text(标签_分), "59");
    Drag(nc, kKnobMaxX, KnobXFromPercent(50) + kKnobHalf + 1);
    EXPECT_EQ(nc.Text(标签_分), "29");
    EXPECT_EQ(nc.Text(标签_时), "11");
}

TEST(NightcapTimeEntry, TypedValuesAndLabelClicks) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig));
    Type(nc, 标签_时, 编辑框_时, "7");
    EXPECT_EQ(nc.Text(标签_时), "07");
    EXPECT_FALSE(IsWindowVisible(nc.Control(编辑框_时)));
    Type(nc, 标签_时, 编辑框_时, "99");
    EXPECT_EQ(nc.Text(标签_时), "23");
    Type(nc, 标签_分, 编辑框_分, "75");
    EXPECT_EQ(nc.Text(标签_分), "59");
    Type(nc, 标签_分, 编辑框_分, "abc");
    EXPECT_EQ(nc.Text(标签_分), "00");
    Type(nc, 标签_分, 编辑框_分, "");
    EXPECT_EQ(nc.Text(标签_分), "00");

    // The frames show which field the slider edits.
    HANDLE selected = GetPropA(nc.Control(图片框_分), prop::kBackImage);
    HANDLE plain = GetPropA(nc.Control(图片框_时), prop::kBackImage);
    EXPECT_NE(selected, plain);
    Release(nc, 标签_时);
    EXPECT_EQ(GetPropA(nc.Control(图片框_时), prop::kBackImage), selected);
    EXPECT_EQ(GetPropA(nc.Control(图片框_分), prop::kBackImage), plain);

    // A click on the time panel closes an open edit box.
    SendMessageA(nc.Control(标签_时), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    EXPECT_TRUE(IsWindowVisible(nc.Control(编辑框_时)));
    nc.Click(图片框_时间);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(nc.Control(编辑框_时)); }));
}

TEST(NightcapTimeEntry, SkinFollowsTheTabsAndArming) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig));
    HWND strip = nc.Control(图片框_切换);
    HANDLE clockTab = GetPropA(strip, prop::kBackImage);
    nc.Click(透明标签_切换2);
    EXPECT_TRUE(WaitUntil([&] { return GetPropA(strip, prop::kBackImage) != clockTab; }));
    nc.Click(透明标签_切换1);
    EXPECT_TRUE(WaitUntil([&] { return GetPropA(strip, prop::kBackImage) == clockTab; }));

    HWND execute = nc.Control(按钮_执行);
    HANDLE idle = GetPropA(execute, prop::kNormalImage);
    ASSERT_NE(idle, nullptr);
    nc.Click(按钮_执行);  // arm
    EXPECT_TRUE(WaitUntil([&] { return GetPropA(execute, prop::kNormalImage) != idle; }));
    EXPECT_EQ(GetPropA(nc.Control(图片框_时), prop::kBackImage), GetPropA(nc.Control(图片框_分), prop::kBackImage));
    nc.Click(按钮_执行);  // cancel
    EXPECT_TRUE(WaitUntil([&] { return GetPropA(execute, prop::kNormalImage) == idle; }));
    EXPECT_NE(GetPropA(nc.Control(图片框_时), prop::kBackImage), GetPropA(nc.Control(图片框_分), prop::kBackImage));
}

}  // namespace
