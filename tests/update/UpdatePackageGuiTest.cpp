// The real package View.xar in the updater, driven like a user would: the change log, the download with
// its progress from the worker thread, the installation and the way out, which always starts the timer
// again before the updater ends. Writes screenshots of the change-log and downloading states.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/Screenshot.h"
#include "tests/update/UpdaterFixture.h"

namespace {
const wchar_t kChangeLog[] =
    L"定时关机 1.003 更新内容：\r\n"
    L"1. 倒计时结束前二十秒的提醒更醒目\r\n"
    L"2. 托盘图标显示剩余时间\r\n"
    L"3. 天气面板改用新的空气质量数据\r\n"
    L"4. 修正夜间主题下时间输入框的颜色\r\n"
    L"5. 网络校时失败时不再重复尝试\r\n"
    L"6. 安装包体积更小，启动更快\r\n"
    L"7. 修正若干稳定性问题";

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 3 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), int(out.size()),
                                   nullptr, nullptr));
    return out;
}

std::string Calls(const TempFolder& folder) {
    std::string calls;
    ReadFileBytes(folder / L"update\\calls.txt", &calls);
    return calls;
}

class PackageWindow : public ::testing::Test {
protected:
    void StartUpdater(const std::wstring& changeLog) {
        exe_ = MakeUpdaterFolder(folder_, BuildFolder() + L"\\View.xar", L"UpdateUnderTest.exe");
        if (!changeLog.empty()) WriteFileBytes(folder_ / L"update\\changelog.txt", Utf8(changeLog));
        gateName_ = L"UpdatePackageGuiTest-" + std::to_wstring(GetCurrentProcessId());
        gate_.Reset(CreateEventW(nullptr, TRUE, FALSE, gateName_.c_str()));
        WriteFileBytes(folder_ / L"update\\go.txt", Utf8(gateName_));
        ASSERT_TRUE(updater_.Start(exe_, L"-1"));
        window_ = WaitForTitledWindow(updater_, L"更新升级程序_lumio");
        ASSERT_NE(window_, nullptr);
    }
    HWND WaitForControl(const std::wstring& text) {
        HWND found = nullptr;
        WaitUntil([&] { return (found = ControlWithText(window_, text)) != nullptr; });
        return found;
    }
    void ExpectEndsAfterRestartingTheTimer(const std::string& callsBefore) {
        DWORD code = 99;
        ASSERT_TRUE(updater_.WaitExit(10000, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(Calls(folder_), callsBefore + "run\n");
    }

    TempFolder folder_;
    std::wstring exe_, gateName_;
    UniqueHandle gate_;
    Program updater_;
    HWND window_ = nullptr;
};

TEST_F(PackageWindow, ChangeLogThenDownloadInstallAndDone) {
    StartUpdater(kChangeLog);
    HWND updateButton = WaitForControl(L"立即更新");
    ASSERT_NE(updateButton, nullptr);
    EXPECT_NE(ControlWithText(window_, L"发现新版本"), nullptr);
    EXPECT_NE(ControlWithText(window_, kChangeLog), nullptr) << "the change log as the server sent it";
    EXPECT_EQ(Calls(folder_), "log with the window shown\n");
    CreateDirectoryW((BuildFolder() + L"\\screenshots").c_str(), nullptr);
    SaveScreenshot(window_, BuildFolder() + L"\\screenshots\\update-changelog.png");

    ClickCentre(updateButton);
    // The worker's reports arrive on the UI thread and move the bar; it then waits at the gate.
    ASSERT_NE(WaitForControl(L"40%"), nullptr);
    EXPECT_NE(ControlWithText(window_, L"正在下载更新…"), nullptr);
    EXPECT_EQ(ControlWithText(window_, L"立即更新"), nullptr);
    SaveScreenshot(window_, BuildFolder() + L"\\screenshots\\update-downloading.png");

    SetEvent(gate_.Get());
    HWND done = WaitForControl(L"完成");
    ASSERT_NE(done, nullptr);
    EXPECT_NE(ControlWithText(window_, L"更新完成"), nullptr);
    EXPECT_EQ(Calls(folder_), "log with the window shown\nupdate\ninstall\n");
    ClickCentre(done);
    ExpectEndsAfterRestartingTheTimer("log with the window shown\nupdate\ninstall\n");
}

TEST_F(PackageWindow, TheCloseButtonRestartsTheTimerBeforeQuitting) {
    StartUpdater(kChangeLog);
    ASSERT_NE(WaitForControl(L"立即更新"), nullptr);
    RECT r;
    GetWindowRect(window_, &r);
    SetCursorPos(r.right - 28, r.top + 24);  // the close button in the corner
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    ExpectEndsAfterRestartingTheTimer("log with the window shown\n");
}

TEST_F(PackageWindow, NoChangeLogIsAFailureWhoseOnlyWayOutRestartsTheTimer) {
    StartUpdater(L"");
    ASSERT_NE(WaitForControl(L"更新失败"), nullptr);
    EXPECT_EQ(ControlWithText(window_, L"立即更新"), nullptr);
    HWND close = WaitForControl(L"关闭");
    ASSERT_NE(close, nullptr);
    ClickCentre(close);
    ExpectEndsAfterRestartingTheTimer("log with the window shown\n");
}

TEST_F(PackageWindow, ClosingFromTheSystemRestartsTheTimerToo) {
    StartUpdater(kChangeLog);
    ASSERT_NE(WaitForControl(L"立即更新"), nullptr);
    PostMessageW(window_, WM_CLOSE, 0, 0);  // Alt+F4, the taskbar's close
    ExpectEndsAfterRestartingTheTimer("log with the window shown\n");
}
}  // namespace
