// The real Nightcap.exe under Wine with a clock the test moves: a target minute missed while the computer
// slept, postponing from the tray menu and from the twenty-second warning, the five-minute warning, the power
// action of the user's choice as it reaches the power seam, and the command line.
#include <gtest/gtest.h>

#include <vector>

#include "nightcap/app/ControlIds.h"
#include "nightcap/app/PowerChoice.h"
#include "tests/nightcap/NightcapUnderTest.h"
#include "tests/nightcap/ShellBalloons.h"
#include "tests/support/Screenshot.h"

using namespace nightcap;

namespace {

const char kPrivilege[] =
    "OpenProcessToken 40\r\nLookupPrivilegeValue SeShutdownPrivilege\r\nAdjustTokenPrivileges 2\r\n";

bool Hidden(const NightcapUnderTest& nc) { return !IsWindowVisible(nc.Main()) && !IsWindowVisible(nc.Slider()); }

bool Balloon(const wchar_t* text) {
    return WaitUntil([&] { return BalloonShowing(text) != nullptr; });
}

// The power log once it holds at least the expected lines, cut to their length.
std::string PowerLogStartingLike(const NightcapUnderTest& nc, const std::string& expected) {
    WaitUntil([&] { return nc.PowerLog().size() >= expected.size(); });
    return nc.PowerLog().substr(0, expected.size());
}

// The texts of a message box of the program, which is then closed with its button.
std::string CloseMessageBox(const Program& program) {
    HWND box = program.WaitForWindow(L"#32770");
    if (!box) return "";
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassNameOf(child) == L"Static") text += WindowTextA(child);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return text;
}

TEST(NightcapTimer, TargetMissedWhileAsleepReturnsToIdleInsteadOfMovingADay) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 10:00:00"));
    ChooseCountdown(nc, "00", "20");
    nc.Click(按钮_执行);
    ASSERT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时20分钟后将自动关机！"));
    // Waking before the end changes nothing.
    nc.SendPowerEvent(PBT_APMSUSPEND);
    ASSERT_TRUE(nc.MoveClock("2013-06-27 10:12:00"));
    nc.SendPowerEvent(PBT_APMRESUMEAUTOMATIC);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时8分钟后将自动关机！"));
    EXPECT_TRUE(InputsEnabled(nc, false));
    // Sleeping through it: idle again, said in a balloon; no shut-down, now or the next day.
    nc.SendPowerEvent(PBT_APMSUSPEND);
    ASSERT_TRUE(nc.MoveClock("2013-06-27 10:50:00"));
    nc.SendPowerEvent(PBT_APMRESUMEAUTOMATIC);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "现在时间：2013年6月27日10时50分"));
    EXPECT_TRUE(InputsEnabled(nc, true));
    EXPECT_TRUE(Balloon(L"电脑睡眠期间已过自动关机的时间，定时已取消，请重新设定！"));
    ASSERT_TRUE(nc.MoveClock("2013-06-28 10:20:00"));
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "现在时间：2013年6月28日10时20分"));
    EXPECT_EQ(nc.PowerLog(), "");
}

TEST(NightcapTimer, PostponeFromTheMenuAndTheTwentySecondWarningInBothModes) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 12:00:00"));  // clock time 12:30
    nc.Click(按钮_执行);
    ASSERT_TRUE(Balloon(L"剩余时间：0小时30分钟后将自动关机！"));  // arming is over
    nc.Command(菜单_推迟);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时40分钟后将自动关机！"));
    EXPECT_TRUE(Balloon(L"剩余时间：0小时40分钟后将自动关机！"));
    // Five minutes before the new end, once; then the twenty-second warning, whose click postpones again.
    ASSERT_TRUE(nc.MoveClock("2013-06-27 12:35:00"));
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时5分钟后将自动关机！"));
    EXPECT_TRUE(Balloon(L"还有五分钟，系统将自动关机！"));
    ASSERT_TRUE(nc.MoveClock("2013-06-27 12:39:40"));
    ASSERT_TRUE(Balloon(L"还有二十秒，系统将自动关机！若想放弃请点取消！！！"));
    nc.TrayMouse(NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时11分钟后将自动关机！"));
    EXPECT_EQ(nc.Text(标签_时) + ":" + nc.Text(标签_分), "12:30");  // the labels keep the user's time
    nc.Click(按钮_执行);
    ASSERT_TRUE(WaitUntil([&] { return InputsEnabled(nc, true); }));

    ChooseCountdown(nc, "00", "01");
    nc.Click(按钮_执行);
    ASSERT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时1分钟后将自动关机！"));
    nc.Command(菜单_推迟);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时11分钟后将自动关机！"));
    ASSERT_TRUE(nc.MoveClock("2013-06-27 12:41:00"));  // the first end passes without a request
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时9分钟后将自动关机！"));
    EXPECT_EQ(nc.PowerLog(), "");
}

// The visible pop-up menus of the program (#32768), the tray menu first.
std::vector<HWND> OpenMenus(NightcapUnderTest& nc) {
    std::vector<HWND> menus;
    for (HWND hwnd : nc.Process().TopLevelWindows())
        if (ClassNameOf(hwnd) == L"#32768" && IsWindowVisible(hwnd)) menus.push_back(hwnd);
    return menus;
}

TEST(NightcapTimer, TrayMenuOffersPostponeAndTheActionsBelowItsOldItems) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 12:00:00"));
    nc.Click(按钮_执行);
    ASSERT_TRUE(Balloon(L"剩余时间：0小时30分钟后将自动关机！"));
    // Menus cannot be read from another process under Wine: the items are found by the keys a user would press.
    // From the bottom: "到时操作", then "推迟10分钟".
    nc.TrayMouse(WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenus(nc).size() == 1; }));
    for (WPARAM key : {VK_UP, VK_UP, VK_RETURN}) PostMessageA(OpenMenus(nc)[0], WM_KEYDOWN, key, 0);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时40分钟后将自动关机！"));
    ASSERT_TRUE(WaitUntil([&] { return OpenMenus(nc).empty(); }));
    // The actions, the shut-down first; the second is the restart.
    nc.TrayMouse(WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenus(nc).size() == 1; }));
    HWND tray = OpenMenus(nc)[0];
    for (WPARAM key : {VK_UP, VK_RIGHT}) PostMessageA(tray, WM_KEYDOWN, key, 0);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenus(nc).size() == 2; }));
    // For the README (docs/screenshots/nightcap-tray-menu.png).
    RECT menus = {}, one;
    for (HWND open : OpenMenus(nc))
        if (GetWindowRect(open, &one)) UnionRect(&menus, &menus, &one);
    EXPECT_TRUE(SaveScreenshot(menus, BuildFolder() + L"\\nightcap-tray-menu.png"));
    for (WPARAM key : {VK_DOWN, VK_RETURN}) PostMessageA(tray, WM_KEYDOWN, key, 0);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时40分钟后将自动重启！"));
    EXPECT_NE(nc.Config().find("min=30\r\naction=restart\r\nforce=1\r\n"), std::string::npos) << nc.Config();
}

TEST(NightcapTimer, ChosenActionIsNamedRememberedAndReachesTheSeamGently) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 22:40:10"));
    nc.Command(菜单_操作 + kRestart);
    nc.Command(菜单_强制);  // the gentler choice: only hung programs are ended
    ChooseCountdown(nc, "00", "01");
    nc.Click(按钮_执行);
    ASSERT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时1分钟后将自动重启！"));
    EXPECT_TRUE(Balloon(L"剩余时间：0小时1分钟后将自动重启！"));
    // New keys after the three of old, which keep their bytes.
    EXPECT_NE(nc.Config().find("[set]\r\ntime=0\r\nhour=12\r\nmin=30\r\naction=restart\r\nforce=0\r\n"),
              std::string::npos)
        << nc.Config();
    ASSERT_TRUE(nc.MoveClock("2013-06-27 22:41:00"));
    const std::string restart = std::string(kPrivilege) + "ExitWindowsEx 18 65535\r\n";
    EXPECT_EQ(PowerLogStartingLike(nc, restart), restart);
    nc.Process().Kill();

    // The next start reads the choice back.
    NightcapUnderTest again;
    ASSERT_TRUE(again.Start(nc.Config().c_str(), "2013-06-27 22:40:10"));
    ChooseCountdown(again, "00", "01");
    again.Click(按钮_执行);
    EXPECT_TRUE(again.WaitForText(透明标签_时间, "剩余时间：0小时1分钟后将自动重启！"));
}

TEST(NightcapTimer, CommandLineDrivesTheRunningCopy) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 10:00:00"));
    EXPECT_EQ(nc.RunAnotherCopy(L"/postpone 5"), 1u);  // nothing armed to postpone
    EXPECT_EQ(nc.RunAnotherCopy(L"/in 0:45 /action lock"), 0u);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时45分钟后将自动锁定！"));
    EXPECT_TRUE(WaitUntil([&] { return Hidden(nc); }));
    EXPECT_EQ(nc.Text(标签_时) + ":" + nc.Text(标签_分), "00:45");
    EXPECT_EQ(nc.RunAnotherCopy(L"/postpone 15"), 0u);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：1小时0分钟后将自动锁定！"));
    // A lock leaves the session running: asked once, and the schedule is over.
    ASSERT_TRUE(nc.MoveClock("2013-06-27 11:00:00"));
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "现在时间：2013年6月27日11时"));
    EXPECT_EQ(nc.PowerLog(), "LockWorkStation\r\n");
    EXPECT_EQ(nc.RunAnotherCopy(L"/at 23:00"), 0u);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：12小时0分钟后将自动锁定！"));
    EXPECT_EQ(nc.RunAnotherCopy(L"/cancel"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return InputsEnabled(nc, true); }));
    EXPECT_TRUE(nc.Process().Running());
}

TEST(NightcapTimer, CommandLineStartsArmedInTheTray) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.StartArmed(kShippedConfig, "2013-06-27 22:00:00", L"/AT 22:30 /action sleep"));
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "剩余时间：0小时30分钟后将自动睡眠！"));
    EXPECT_TRUE(Hidden(nc));
    ASSERT_TRUE(nc.MoveClock("2013-06-27 22:30:00"));
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "现在时间：2013年6月27日22时30分"));
    EXPECT_EQ(nc.PowerLog(), std::string(kPrivilege) + "SetSuspendState 0 1\r\n");
}

TEST(NightcapTimer, BadArgumentsShowWhyAndChangeNothing) {
    NightcapUnderTest nc;
    ASSERT_TRUE(nc.Start(kShippedConfig, "2013-06-27 10:00:00"));
    Program bad;
    ASSERT_TRUE(bad.Start(nc.Exe(), L"/at 25:00"));
    EXPECT_NE(CloseMessageBox(bad).find("时间无效：/at 25:00"), std::string::npos);
    DWORD code = 0;
    ASSERT_TRUE(bad.WaitExit(10000, &code));
    EXPECT_EQ(code, 2u);
    EXPECT_TRUE(nc.WaitForText(透明标签_时间, "现在时间：2013年6月27日10时"));
    EXPECT_TRUE(InputsEnabled(nc, true));

    Program help;
    ASSERT_TRUE(help.Start(nc.Exe(), L"/?"));
    EXPECT_NE(CloseMessageBox(help).find("/postpone"), std::string::npos);
    ASSERT_TRUE(help.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

}  // namespace
