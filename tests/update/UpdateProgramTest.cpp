// Update.exe as a real program: its command-line rule, the single-instance rule, the package-load box, the
// class update.CustomClass as the package's Lua code sees it, and the one-box rule of script errors.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/update/UpdaterFixture.h"

namespace {
constexpr wchar_t kScriptErrorCaption[] = L"为了帮助我们改进质量,请反馈此脚本错误";

TEST(UpdateProgram, AnythingButExactlyMinusOneEndsAtOnceWithoutLoadingThePackage) {
    TempFolder folder;
    // This package's window would keep the updater running: an updater that ends did not load it.
    const std::wstring exe = MakeUpdaterFolder(folder, TestPackage(L"hostcases"));
    for (const wchar_t* arguments : {L"", L"-1 ", L"-2", L"-1 -1"}) {
        Program updater;
        ASSERT_TRUE(updater.Start(exe, arguments));
        DWORD code = 99;
        ASSERT_TRUE(updater.WaitExit(10000, &code)) << "arguments [" << arguments << "]";
        EXPECT_EQ(code, 0u);
    }
}

TEST(UpdateProgram, AMissingOrDamagedPackageShowsTheLoadBoxAndEndsWithStatusOne) {
    for (const std::wstring& package : {std::wstring(), TestPackage(L"damaged")}) {
        TempFolder folder;
        const std::wstring exe = MakeUpdaterFolder(folder, package);
        Program updater;
        ASSERT_TRUE(updater.Start(exe, L"-1"));
        HWND box = WaitForTitledWindow(updater, L"错误");
        ASSERT_NE(box, nullptr) << package.c_str();
        EXPECT_EQ(MessageBoxFirstText(box), L"Load XAR失败!");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        DWORD code = 0;
        ASSERT_TRUE(updater.WaitExit(10000, &code));
        EXPECT_EQ(code, 1u);
    }
}

TEST(UpdateProgram, TheClassCallsItsListenersAsRegisteredAndQuitEndsWithStatusZero) {
    TempFolder folder;
    const std::wstring exe = MakeUpdaterFolder(folder, TestPackage(L"hostcases"));
    Program updater;
    ASSERT_TRUE(updater.Start(exe, L"-1"));
    HWND window = WaitForTitledWindow(updater, kUpdaterTitle);
    ASSERT_NE(window, nullptr);
    const std::vector<std::wstring> texts = VisibleTexts(window);
    ASSERT_EQ(texts.size(), 1u);
    // Every listener with 5, the one attached twice twice, the one attached during the dispatch in it too,
    // the non-function never; non-numbers add as 0; the log listener gets the (empty) change log once.
    EXPECT_EQ(texts[0], L"sum=5 zero=0 results=a5,b5,b5,c5,x5,late5,a0,b0,b0,c0,x0,late0 logs=[] same=true "
                        L"refused=true");
    EXPECT_TRUE(WindowsTitled(updater, kScriptErrorCaption).empty());
    PostMessageW(window, WM_CLOSE, 0, 0);  // the package's close handler calls Quit
    DWORD code = 99;
    ASSERT_TRUE(updater.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(UpdateProgram, ASecondUpdaterBringsTheFirstForwardAndEnds) {
    TempFolder folder;
    const std::wstring exe = MakeUpdaterFolder(folder, TestPackage(L"hostcases"));
    Program first;
    ASSERT_TRUE(first.Start(exe, L"-1"));
    HWND window = WaitForTitledWindow(first, kUpdaterTitle);
    ASSERT_NE(window, nullptr);
    // A window of the test's own takes the foreground from it.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }, 5000));

    Program second;
    ASSERT_TRUE(second.Start(exe, L"-1"));
    DWORD code = 99;
    ASSERT_TRUE(second.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WindowsTitled(second, kUpdaterTitle).empty());
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, 5000));
    EXPECT_TRUE(first.Running());
    DestroyWindow(other);
}

TEST(UpdateProgram, ScriptErrorsWhileTheirBoxIsOpenAreDropped) {
    TempFolder folder;
    const std::wstring exe = MakeUpdaterFolder(folder, TestPackage(L"errors"));
    Program updater;
    ASSERT_TRUE(updater.Start(exe, L"-1"));
    HWND window = WaitForTitledWindow(updater, kUpdaterTitle);
    ASSERT_NE(window, nullptr);
    HWND box = WaitForTitledWindow(updater, kScriptErrorCaption);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxFirstText(box).find(L"tick 1"), std::wstring::npos) << MessageBoxFirstText(box);
    EXPECT_NE(MessageBoxFirstText(box).find(L" @ OnTimer"), std::wstring::npos);
    // The timer goes on failing while the box is open; none of those errors opens a box of its own.
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<std::wstring> texts = VisibleTexts(window);
        return !texts.empty() && texts[0].size() > 6 && _wtoi(texts[0].c_str() + 6) >= 5;
    }));
    EXPECT_EQ(WindowsTitled(updater, kScriptErrorCaption).size(), 1u);
}
}  // namespace
