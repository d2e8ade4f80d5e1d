// Starts the real Nightcap.exe under Wine and reads its main window back.
#include <gtest/gtest.h>

#include "ProgramDriver.h"
#include "Screenshot.h"
#include "TempFolder.h"

namespace {

TEST(NightcapWindow, MainWindowHasClassAndChineseCaption) {
    TempFolder folder;
    ASSERT_TRUE(CopyFileTo(BuildFolder() + L"\\Nightcap.exe", folder / L"Nightcap.exe"));
    ASSERT_TRUE(CopyFileTo(BuildFolder() + L"\\config.ini", folder / L"config.ini"));

    Program nightcap;
    ASSERT_TRUE(nightcap.Start(folder / L"Nightcap.exe"));
    HWND main = nightcap.WaitForWindow(L"Nightcap");
    ASSERT_NE(main, nullptr);

    EXPECT_EQ(WindowTextW(main), L"定时关机");
    EXPECT_EQ(WindowTextA(main), "定时关机");  // GBK bytes in code page 936
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 302);
    EXPECT_EQ(r.bottom - r.top, 252);

    ASSERT_TRUE(SaveScreenshot(main, folder / L"main.png"));
    std::string png;
    ASSERT_TRUE(ReadFileBytes(folder / L"main.png", &png));
    EXPECT_EQ(png.substr(1, 3), "PNG");

    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(nightcap.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

}  // namespace
