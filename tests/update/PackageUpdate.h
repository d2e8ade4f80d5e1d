// An update through the real updater's package as a user makes it, in a test installation.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "tests/update/TestInstallation.h"
#include "tests/update/UpdaterFixture.h"

enum class PackageOutcome { Done, Failed };

// Starts the product and the updater, waits for the change log and clicks "立即更新" (the running product must
// have been ended), then waits for the outcome, "更新完成" with the button "完成" or "更新失败" with "关闭", and
// clicks that button; the updater must end.
inline void UpdateThroughPackage(Installation& install, PackageOutcome outcome) {
    const bool done = outcome == PackageOutcome::Done;
    Program product, updater;
    ASSERT_TRUE(install.StartProduct(product));
    ASSERT_TRUE(updater.Start(install.Update() + L"\\Update.exe", L"-1", install.Update()));
    const HWND window = WaitForTitledWindow(updater, kUpdaterTitle);
    ASSERT_NE(window, nullptr);
    HWND update = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (update = ControlWithText(window, L"立即更新")) && IsWindowVisible(update); },
                          30000));
    EXPECT_TRUE(product.WaitExit(5000)) << "the running product was not ended";
    ClickCentre(update);
    HWND finish = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return ControlWithText(window, done ? L"更新完成" : L"更新失败") &&
               (finish = ControlWithText(window, done ? L"完成" : L"关闭")) && IsWindowVisible(finish);
    }, 60000)) << (done ? "the update did not finish" : "no failure shown");
    ClickCentre(finish);
    DWORD code = 99;
    ASSERT_TRUE(updater.WaitExit(20000, &code));
    EXPECT_EQ(code, 0u);
}
