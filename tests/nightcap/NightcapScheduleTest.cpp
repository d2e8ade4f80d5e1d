// The real Nightcap.exe under Wine with its clock standing still: the tabs, arming and cancelling, the tick's
// status line, the power request when due, and what config.ini holds afterwards.
#include <gtest/gtest.h>

#include "nightcap/app/ControlIds.h"
#include "tests/nightcap/NightcapUnderTest.h"

using namespace nightcap;

namespace {

const char kDueRequest[] =
    "OpenProcessToken 40\r\nLookupPrivilegeValue SeShutdownPrivilege\r\nAdjustTokenPrivileges 2\r\n"
    "ExitWindowsEx 5 65535\r\n";

std::string WithSet(const char* set) { return std::string("[Product]\r\n\nname=Nightcap\r\n\n[set]\r\n") + set; }

bool Hidden(const NightcapUnderTest& nc) { return !IsWindowVisible(nc.Main()) && !IsWindowVisible(nc.Slider()); }

// Arming hides both windows, locks the inputs and shows the time left.
void ExpectArmed(const NightcapUnderTest& nc, const std::string& statusLine) {
    nc.Click(按钮_执行);
    ASSERT_TRUE(nc.WaitForText(透明标签_时间, statusLine));
    EXPECT_TRUE(WaitUntil([&] { return Hidden(nc); }));
    EXPECT_TRUE(InputsEnabled(nc, false));
}

// Cancelling unlocks the inputs, shows nothing and asks Windows for nothing.
void ExpectCancelled(const NightcapUnderTest& nc, const std::string& clockLine) {
    nc.Click(按钮_执行);
    ASSERT_TRUE(WaitUntil([&] { return InputsEnabled(nc, true); }));
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, clockLine));
    EXPECT_TRUE(Hidden(nc));
    EXPECT_EQ(nc.PowerLog(), "");
}

TEST(NightcapSchedule, IdleTickShowsTheClock) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 15:00:00"));
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "现在时间：2013年6月27日15时"));
}

TEST(NightcapSchedule, ClockTimeArmsAndCancels) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 13:00:00"));
    // 12:30 has passed today: the schedule waits across midnight.
    ExpectArmed(nc, "剩余时间：23小时30分钟后将自动关机！");
    ExpectCancelled(nc, "现在时间：2013年6月27日13时");
}

TEST(NightcapSchedule, CountdownArmsAndCancels) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 10:15:50"));
    ChooseCountdown(nc, "00", "01");
    ExpectArmed(nc, "剩余时间：0小时1分钟后将自动关机！");
    ExpectCancelled(nc, "现在时间：2013年6月27日10时15分50秒");
    // Labels kept what the schedule had: they are only preset when the defaults are in use.
    EXPECT_EQ(nc.Text(标签_时), "00");
}

TEST(NightcapSchedule, DueScheduleAsksForAForcedShutDownAndSavesNothing) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 22:40:10"));
    ChooseCountdown(nc, "00", "00");
    nc.Click(按钮_执行);
    ASSERT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时0分钟后将自动关机！"));
    ASSERT_TRUE(WaitUntil([&] { return nc.PowerLog().size() >= sizeof kDueRequest - 1; }));
    EXPECT_EQ(nc.PowerLog().substr(0, sizeof kDueRequest - 1), kDueRequest);
    // The due minute repeats the request on every tick until Windows ends the program.
    ASSERT_TRUE(WaitUntil([&] { return nc.PowerLog().size() >= 2 * (sizeof kDueRequest - 1); }));
    nc.Process().Kill();  // what the shut-down does to the program
    EXPECT_EQ(nc.Config(), kShippedConfig);
}

TEST(NightcapSchedule, ClosingThroughTheTrayMenuSavesTheTabAndFields) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(WithSet("time=2\r\nhour=07\r\nmin=05\r\n").c_str(), "2013-06-27 10:00:00"));
    ExpectArmed(nc, "剩余时间：21小时5分钟后将自动关机！");  // time=2 is clock time
    nc.Command(菜单_结束);
    DWORD code = 1;
    ASSERT_TRUE(nc.Process().WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_NE(nc.Config().find("[set]\r\ntime=0\r\nhour=07\r\nmin=05\r\n"), std::string::npos) << nc.Config();
    EXPECT_NE(nc.Config().find("name=Nightcap"), std::string::npos);
    EXPECT_EQ(nc.PowerLog(), "");
}

TEST(NightcapSchedule, CloseButtonSavesCountdownMode) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 10:00:00"));
    nc.Click(透明标签_切换2);
    nc.SetText(标签_时, "02");
    nc.Click(按钮_关闭);
    ASSERT_TRUE(nc.Process().WaitExit(10000));
    EXPECT_NE(nc.Config().find("[set]\r\ntime=1\r\nhour=02\r\nmin=30\r\n"), std::string::npos) << nc.Config();
}

TEST(NightcapSchedule, EmptyHourShowsTwelveAndTabsPresetTheFields) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(WithSet("time=0\r\nhour=\r\nmin=45\r\n").c_str(), "2013-06-27 23:45:00"));
    EXPECT_EQ(nc.Text(标签_时), "12");
    EXPECT_EQ(nc.Text(标签_分), "45");
    // The defaults are in use: the countdown tab presets one hour ...
    nc.Click(透明标签_切换2);
    EXPECT_TRUE(nc.WaitForText(标签_时, "01"));
    EXPECT_EQ(nc.Text(标签_分), "00");
    // ... and the clock-time tab half an hour from now.
    nc.Click(透明标签_切换1);
    EXPECT_TRUE(nc.WaitForText(标签_时, "00"));
    EXPECT_EQ(nc.Text(标签_分), "15");
}

// Like the fields' labels, the tabs and the panels act when the left button is released over them.
TEST(NightcapSchedule, TabsAndPanelsActWhenTheButtonIsReleased) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(WithSet("time=0\r\nhour=\r\nmin=45\r\n").c_str(), "2013-06-27 23:45:00"));
    HWND tab = nc.Control(透明标签_切换2);
    SendMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(nc.Text(标签_时), "12");  // the countdown preset has not come yet
    SendMessageA(tab, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(nc.WaitForText(标签_时, "01"));

    SendMessageA(nc.Control(标签_分), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    HWND edit = nc.Control(编辑框_分);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(edit) != FALSE; }));
    HWND panel = nc.Control(图片框_时间);
    SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 95));
    EXPECT_TRUE(IsWindowVisible(edit));
    SendMessageA(panel, WM_LBUTTONUP, 0, MAKELPARAM(150, 95));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(edit); }));
}

TEST(NightcapSchedule, WithoutAFileItStartsAtHalfPastTwelveInClockTime) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(nullptr, "2013-06-27 12:00:00"));
    EXPECT_EQ(nc.Text(标签_时), "12");
    EXPECT_EQ(nc.Text(标签_分), "30");
    ExpectArmed(nc, "剩余时间：0小时30分钟后将自动关机！");
}

}  // namespace
