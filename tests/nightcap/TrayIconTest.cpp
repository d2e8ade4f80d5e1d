// The tray icon record as the shell receives it, and balloon notices from two threads at once.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "nightcap/app/TrayIcon.h"

using namespace nightcap;

namespace {

struct Call {
    DWORD message;
    NOTIFYICONDATAA record;
};
std::vector<Call> g_calls;
std::atomic<int> g_torn{0};
std::atomic<int> g_seen{0};

BOOL WINAPI RecordCall(DWORD message, PNOTIFYICONDATAA record) {
    g_calls.push_back({message, *record});
    return TRUE;
}

// A notice's title names its thread and its text repeats that name: a record mixing two notices is torn.
BOOL WINAPI CheckBalloonIsWhole(DWORD, PNOTIFYICONDATAA record) {
    std::string title = record->szInfoTitle;
    std::string text = record->szInfo;
    Sleep(0);  // give the other thread every chance to write meanwhile
    if (text != title + title || record->dwInfoFlags != (title == "A" ? 1u : 2u)) ++g_torn;
    ++g_seen;
    return TRUE;
}

TEST(TrayIcon, AddFillsTheRecordOnce) {
    g_calls.clear();
    TrayIcon tray(RecordCall);
    HWND window = reinterpret_cast<HWND>(0x4242);
    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    tray.Add(window, icon, "lumio定时关机");
    ASSERT_EQ(g_calls.size(), 1u);
    const NOTIFYICONDATAA& r = g_calls[0].record;
    EXPECT_EQ(g_calls[0].message, DWORD(NIM_ADD));
    // The version-2 layout, up to the balloon flags: 488 bytes in a 32-bit program, 504 in a 64-bit one.
    EXPECT_EQ(r.cbSize, sizeof(void*) == 8 ? 504u : 488u);
    EXPECT_EQ(r.hWnd, window);
    EXPECT_EQ(r.uID, 1u);
    EXPECT_EQ(r.uFlags, 7u);
    EXPECT_EQ(r.uCallbackMessage, 12345u);
    EXPECT_EQ(r.hIcon, icon);
    EXPECT_STREQ(r.szTip, "lumio定时关机");
}

TEST(TrayIcon, LongTextsAreCutToTheirFields) {
    g_calls.clear();
    TrayIcon tray(RecordCall);
    tray.Add(nullptr, nullptr, std::string(300, 't').c_str());
    tray.ShowBalloon(std::string(100, 'h').c_str(), std::string(400, 'b').c_str(), kBalloonInfo);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(std::strlen(g_calls[0].record.szTip), 127u);
    const NOTIFYICONDATAA& b = g_calls[1].record;
    EXPECT_EQ(g_calls[1].message, DWORD(NIM_MODIFY));
    EXPECT_EQ(b.uFlags, UINT(NIF_INFO));
    EXPECT_EQ(std::strlen(b.szInfoTitle), 63u);
    EXPECT_EQ(std::strlen(b.szInfo), 255u);
    EXPECT_EQ(b.dwInfoFlags, DWORD(NIIF_INFO));
}

TEST(TrayIcon, TaskbarRestartRemovesAndAddsWithTheSameRecord) {
    g_calls.clear();
    TrayIcon tray(RecordCall);
    tray.Add(reinterpret_cast<HWND>(0x77), nullptr, "lumio定时关机");
    tray.ShowBalloon("关机提醒！", "剩余时间：1小时0分钟后将自动关机！", kBalloonWarning);
    tray.AddAgain();
    ASSERT_EQ(g_calls.size(), 4u);
    EXPECT_EQ(g_calls[2].message, DWORD(NIM_DELETE));
    EXPECT_EQ(g_calls[3].message, DWORD(NIM_ADD));
    EXPECT_EQ(g_calls[3].record.uFlags, 7u);  // the balloon's flag is replaced
    EXPECT_EQ(g_calls[3].record.uCallbackMessage, 12345u);
    EXPECT_STREQ(g_calls[3].record.szTip, "lumio定时关机");
    tray.Remove();
    EXPECT_EQ(g_calls.back().message, DWORD(NIM_DELETE));
}

TEST(TrayIcon, BalloonsFromTwoThreadsNeverMix) {
    g_torn = 0;
    g_seen = 0;
    TrayIcon tray(CheckBalloonIsWhole);
    auto notices = [&tray](const char* name, int kind) {
        std::string text = std::string(name) + name;
        for (int i = 0; i < 300; ++i) tray.ShowBalloon(name, text.c_str(), kind);
    };
    std::thread a(notices, "A", 1);
    std::thread b(notices, "B", 2);
    a.join();
    b.join();
    EXPECT_EQ(g_seen, 600);
    EXPECT_EQ(g_torn, 0);
}

}  // namespace
