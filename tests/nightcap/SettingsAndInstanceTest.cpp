// config.ini through the real profile functions, the single-instance guard and the pumping wait.
#include <gtest/gtest.h>

#include <string>

#include "nightcap/app/SettingsFile.h"
#include "nightcap/app/SingleInstance.h"
#include "nightcap/app/WaitPumping.h"
#include "tests/support/TempFolder.h"

using namespace nightcap;

namespace {

std::string Narrow(const std::wstring& w) {
    char buffer[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

const char kShipped[] = "[Product]\r\n\nname=Nightcap\r\n\n[set]\r\ntime=0\r\nhour=12\r\nmin=30\r\n";

TEST(InterpretSettings, OnlyOneMeansCountdown) {
    EXPECT_EQ(InterpretSettings("1", "07", "05").mode, ScheduleMode::Countdown);
    for (const char* time : {"0", "2", "", "01", "1 ", "yes"})
        EXPECT_EQ(InterpretSettings(time, "07", "05").mode, ScheduleMode::ClockTime) << time;
}

TEST(InterpretSettings, EmptyFieldsTakeDefaultsAndSetTheFlag) {
    ScheduleSettings s = InterpretSettings("0", "", "45");
    EXPECT_EQ(s.hour, "12");
    EXPECT_EQ(s.minute, "45");
    EXPECT_TRUE(s.defaultsInUse);
    s = InterpretSettings("0", "08", "");
    EXPECT_EQ(s.hour, "08");
    EXPECT_EQ(s.minute, "30");
    EXPECT_TRUE(s.defaultsInUse);
    s = InterpretSettings("0", "99", "abc");  // shown as read, not checked
    EXPECT_EQ(s.hour, "99");
    EXPECT_EQ(s.minute, "abc");
    EXPECT_FALSE(s.defaultsInUse);
}

TEST(SettingsFile, PathIsTheProgramFolderWithAForwardSlash) {
    EXPECT_EQ(SettingsPath("C:\\Program Files\\Nightcap"), "C:\\Program Files\\Nightcap/config.ini");
    std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    EXPECT_EQ(std::string(exe).rfind(folder + "\\", 0), 0u);
}

TEST(SettingsFile, ShippedFileLoadsClockTimeAtHalfPastTwelve) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"config.ini", kShipped));
    ScheduleSettings s = SettingsFile(SettingsPath(Narrow(folder.Path()))).Load();
    EXPECT_EQ(s.mode, ScheduleMode::ClockTime);
    EXPECT_EQ(s.hour, "12");
    EXPECT_EQ(s.minute, "30");
    EXPECT_FALSE(s.defaultsInUse);
}

TEST(SettingsFile, MissingFileMeansDefaults) {
    TempFolder folder;
    ScheduleSettings s = SettingsFile(SettingsPath(Narrow(folder.Path()))).Load();
    EXPECT_EQ(s.mode, ScheduleMode::ClockTime);
    EXPECT_EQ(s.hour, "12");
    EXPECT_EQ(s.minute, "30");
    EXPECT_TRUE(s.defaultsInUse);
}

TEST(SettingsFile, SaveThenLoadRoundTripsAndKeepsTheProductSection) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"config.ini", kShipped));
    SettingsFile file(SettingsPath(Narrow(folder.Path())));
    file.Save(false, "01", "05");
    ScheduleSettings s = file.Load();
    EXPECT_EQ(s.mode, ScheduleMode::Countdown);
    EXPECT_EQ(s.hour, "01");
    EXPECT_EQ(s.minute, "05");
    file.Save(true, "23", "59");
    s = file.Load();
    EXPECT_EQ(s.mode, ScheduleMode::ClockTime);
    EXPECT_EQ(s.hour, "23");
    char product[64] = {};
    GetPrivateProfileStringA("Product", "name", "", product, sizeof product, file.Path().c_str());
    EXPECT_STREQ(product, "Nightcap");
}

TEST(SingleInstanceGuard, SecondClaimFindsTheFirstAndReadsItsWindow) {
    const char* title = "定时关机测试副本";
    SingleInstanceGuard first;
    ASSERT_TRUE(first.Claim(title, nullptr));
    DWORD recorded = 0xFFFF, size = sizeof recorded, type = 0;
    ASSERT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, title, nullptr, &type, reinterpret_cast<BYTE*>(&recorded), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(recorded, 0u);

    SingleInstanceGuard second;
    EXPECT_FALSE(second.Claim(title, nullptr));
    EXPECT_EQ(InstanceEventName("定时关机"), "松涛阁模块定时关机");
    RegDeleteValueA(HKEY_CURRENT_USER, title);
}

TEST(SingleInstanceGuard, ReleasedEventLetsTheNextCopyRun) {
    const char* title = "定时关机测试释放";
    {
        SingleInstanceGuard first;
        ASSERT_TRUE(first.Claim(title, nullptr));
    }
    SingleInstanceGuard next;
    EXPECT_TRUE(next.Claim(title, nullptr));
    RegDeleteValueA(HKEY_CURRENT_USER, title);
}

int g_timerCalls = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_timerCalls; }

TEST(WaitPumping, HandlesMessagesWhileWaiting) {
    g_timerCalls = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, CountTick);
    WaitPumping(300);
    KillTimer(nullptr, timer);
    EXPECT_GT(g_timerCalls, 0);
}

TEST(WaitPumping, LeavesAQuitForTheMainLoop) {
    PostQuitMessage(7);
    WaitPumping(5000);  // returns at once instead of eating the quit
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
