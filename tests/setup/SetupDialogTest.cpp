// Setup.exe without a payload: the skinned window's geometry and behaviour, and the unpack failure.
#include <gtest/gtest.h>

#include "tests/support/ProgramDriver.h"
#include "tests/support/Screenshot.h"
#include "tests/support/SetupDriver.h"

namespace {

const std::wstring kEntryKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nightcap";

class SetupDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setup_.Start(BuildFolder() + L"\\Setup.exe"));
        dialog_ = WaitForSetupDialog(setup_.Id());
        ASSERT_NE(dialog_, nullptr);
    }
    // Lets the dialog's thread handle everything posted before.
    void Settle() {
        DWORD_PTR ignored;
        SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    }
    RECT ChildRect(int id) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog_, id), &r);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    Program setup_;
    HWND dialog_ = nullptr;
};

TEST_F(SetupDialog, WindowTakesTheBackgroundSizeAndButtonsTheirSlices) {
    RECT window;
    GetWindowRect(dialog_, &window);
    EXPECT_EQ(window.right - window.left, 640);  // 96 DPI
    EXPECT_EQ(window.bottom - window.top, 384);
    RECT close = ChildRect(IDCANCEL);
    EXPECT_EQ(close.left, 640 - 39);
    EXPECT_EQ(close.top, 1);
    EXPECT_EQ(close.right - close.left, 38);
    EXPECT_EQ(close.bottom - close.top, 25);
    RECT main = ChildRect(IDOK);
    EXPECT_EQ(main.right - main.left, 146);
    EXPECT_EQ(main.bottom - main.top, 55);
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog_, IDOK), GWL_STYLE) & BS_OWNERDRAW);
    EXPECT_TRUE(GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(SetupDialog, MainButtonShowsItsHoverSliceWhileTheMouseIsOverIt) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog_, IDOK), &r);
    POINT probe = {r.left + 20, r.top + 12};  // on the button face, away from its text
    SetCursorPos(r.left - 60, r.top - 60);
    COLORREF normal = 0;
    ASSERT_TRUE(WaitUntil([&] { return (normal = ScreenPixel(probe.x, probe.y)) != 0; }));
    SetCursorPos(probe.x, probe.y);
    COLORREF hover = normal;
    EXPECT_TRUE(WaitUntil([&] { return (hover = ScreenPixel(probe.x, probe.y)) != normal; }, 5000));
    SetCursorPos(r.left - 60, r.top - 60);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(probe.x, probe.y) == normal; }, 5000));
}

TEST_F(SetupDialog, BackgroundDragsTheWindowAndControlsKeepTheirClicks) {
    POINT inside = {400, 300};
    ClientToScreen(dialog_, &inside);
    EXPECT_EQ(SendMessageW(dialog_, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCAPTION);
    HWND box = GetDlgItem(dialog_, 1004);
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_EQ(SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(r.left + 2, r.top + 2)), HTCLIENT);
}

TEST_F(SetupDialog, AnExtractionResultWithoutAnInstallIsIgnored) {
    bool entryBefore = RegKeyExists(HKEY_LOCAL_MACHINE, kEntryKey);
    PostMessageW(dialog_, WM_USER + 1000, 1, 0);
    Settle();
    EXPECT_TRUE(setup_.Running());
    EXPECT_EQ(RegKeyExists(HKEY_LOCAL_MACHINE, kEntryKey), entryBefore);
    Click(dialog_, IDCANCEL);
    EXPECT_TRUE(setup_.WaitExit(10000));
}

TEST_F(SetupDialog, EnterEscapeAndTabDoNothing) {
    HWND main = GetDlgItem(dialog_, IDOK);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_TAB}) {
        PostMessageW(main, WM_KEYDOWN, key, 0);
        PostMessageW(dialog_, WM_KEYDOWN, key, 0);
    }
    Settle();
    EXPECT_TRUE(IsWindow(dialog_));
    EXPECT_FALSE(Visible(dialog_, 1011));  // no install started
    EXPECT_TRUE(setup_.Running());
    Click(dialog_, IDCANCEL);  // the close button ends it
    EXPECT_TRUE(setup_.WaitExit(10000));
}

TEST_F(SetupDialog, BrowsedOrTypedFolderIsCheckedForSpace) {
    Click(dialog_, 1009);
    ASSERT_TRUE(WaitUntil([&] { return Visible(dialog_, 1001); }));
    SendMessageW(GetDlgItem(dialog_, 1001), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:"));
    EXPECT_FALSE(Enabled(dialog_, IDOK));
    SendMessageW(GetDlgItem(dialog_, 1001), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\"));
    EXPECT_TRUE(Enabled(dialog_, IDOK));  // nothing to unpack: any drive with free space will do
    EXPECT_EQ(ItemText(dialog_, 1003).rfind(L"所需空间: 0.00 B (磁盘剩余空间: ", 0), 0u);
    Click(dialog_, IDCANCEL);
    EXPECT_TRUE(setup_.WaitExit(10000));
}

TEST_F(SetupDialog, BrowsingPutsThePickedFolderWithTheProgramNameIntoTheEdit) {
    Click(dialog_, 1009);
    ASSERT_TRUE(WaitUntil([&] { return Visible(dialog_, 1002); }));
    Click(dialog_, 1002);
    HWND browse = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND hwnd : setup_.TopLevelWindows())
                if (hwnd != dialog_ && ClassNameOf(hwnd) == L"#32770" && IsWindowVisible(hwnd)) browse = hwnd;
            return browse != nullptr;
        },
        10000));
    std::wstring before = ItemText(dialog_, 1001);
    PostMessageW(browse, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog_, 1001) != before; }, 10000)) << ItemText(dialog_, 1001);
    std::wstring picked = ItemText(dialog_, 1001);
    EXPECT_EQ(picked.size() > 9 ? picked.substr(picked.size() - 9) : picked, L"\\Nightcap");
    Click(dialog_, IDCANCEL);
    EXPECT_TRUE(setup_.WaitExit(10000));
}

TEST_F(SetupDialog, MissingPayloadReportsTheUnpackFailureAndRegistersNothing) {
    bool entryBefore = RegKeyExists(HKEY_LOCAL_MACHINE, kEntryKey);
    Click(dialog_, IDOK);
    HWND box = WaitForMessageBox(setup_.Id(), std::wstring(kTitle) + L"安装");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"解压文件失败，请下载完整安装包！");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(setup_.WaitExit(10000));
    EXPECT_EQ(RegKeyExists(HKEY_LOCAL_MACHINE, kEntryKey), entryBefore);
}

}  // namespace
