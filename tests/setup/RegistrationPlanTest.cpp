// What an install registers: shortcut paths and targets, the Run value, the uninstall values.
#include <gtest/gtest.h>

#include "setup/register/RegistrationPlan.h"

using namespace setup;

namespace {

const std::wstring kDir = L"D:\\Tools\\Nightcap\\";
const std::wstring kTitle = L"lumio定时关机";

SpecialFolders AllFolders() {
    return {L"C:\\Users\\u\\Desktop", L"C:\\Users\\u\\AppData\\Roaming", L"C:\\ProgramData\\Start Menu\\Programs"};
}

TEST(ShortcutPlan, DefaultChoiceMakesDesktopAndStartMenuLinks) {
    ShortcutPlan plan = PlanShortcuts(ShortcutChoice{}, AllFolders(), kDir, L"Nightcap", kTitle);
    EXPECT_EQ(plan.startMenuFolder, L"C:\\ProgramData\\Start Menu\\Programs\\" + kTitle);
    ASSERT_EQ(plan.links.size(), 3u);
    EXPECT_EQ(plan.links[0].linkPath, L"C:\\Users\\u\\Desktop\\" + kTitle + L".lnk");
    EXPECT_EQ(plan.links[0].target, L"D:\\Tools\\Nightcap\\Nightcap.exe");
    EXPECT_EQ(plan.links[1].linkPath, plan.startMenuFolder + L"\\" + kTitle + L".lnk");
    EXPECT_EQ(plan.links[2].linkPath, plan.startMenuFolder + L"\\卸载" + kTitle + L".lnk");
    EXPECT_EQ(plan.links[2].target, L"D:\\Tools\\Nightcap\\Uninstall.exe");
}

TEST(ShortcutPlan, QuickLaunchLinkGoesUnderRoamingApplicationData) {
    ShortcutPlan plan = PlanShortcuts({false, true, false}, AllFolders(), kDir, L"Nightcap", kTitle);
    ASSERT_EQ(plan.links.size(), 1u);
    EXPECT_EQ(plan.links[0].linkPath,
              L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\" + kTitle + L".lnk");
    EXPECT_TRUE(plan.startMenuFolder.empty());
}

TEST(ShortcutPlan, AFolderTheShellCannotGiveSkipsItsLinks) {
    SpecialFolders folders = AllFolders();
    folders.desktop.reset();
    folders.commonPrograms.reset();
    ShortcutPlan plan = PlanShortcuts({true, true, true}, folders, kDir, L"Nightcap", kTitle);
    ASSERT_EQ(plan.links.size(), 1u);  // only Quick Launch
    EXPECT_NE(plan.links[0].linkPath.find(L"Quick Launch"), std::wstring::npos);
    EXPECT_TRUE(plan.startMenuFolder.empty());
}

TEST(ShortcutPlan, WorkingFolderIsTheTargetsFolder) {
    EXPECT_EQ(WorkingFolderOf(L"D:\\Tools\\Nightcap\\Nightcap.exe"), L"D:\\Tools\\Nightcap");
    EXPECT_EQ(WorkingFolderOf(L"Nightcap.exe"), L"");
}

TEST(RunValue, QuotesTheWholeProgramPathSoItStartsFromAFolderWithSpaces) {
    EXPECT_EQ(RunValueText(L"C:\\Program Files\\Nightcap\\Nightcap.exe"),
              L"\"C:\\Program Files\\Nightcap\\Nightcap.exe\" -1 /s");
}

TEST(UninstallEntry, FiveValuesInOrderWithTheVersionOfTheProgram) {
    auto values = UninstallValues(kDir, L"Nightcap", kTitle, 0x0001000000000002ull);
    ASSERT_EQ(values.size(), 5u);
    EXPECT_STREQ(values[0].name, L"DisplayIcon");
    EXPECT_EQ(values[0].data, L"D:\\Tools\\Nightcap\\Nightcap.exe");
    EXPECT_STREQ(values[1].name, L"DisplayName");
    EXPECT_EQ(values[1].data, kTitle);
    EXPECT_STREQ(values[2].name, L"DisplayVersion");
    EXPECT_EQ(values[2].data, L"1.0.0.2");
    EXPECT_STREQ(values[3].name, L"Publisher");
    EXPECT_EQ(values[3].data, L"青禾岭有限公司");
    EXPECT_STREQ(values[4].name, L"UninstallString");
    EXPECT_EQ(values[4].data, L"D:\\Tools\\Nightcap\\Uninstall.exe");
}

TEST(UninstallEntry, VersionWordsAreUnsignedDecimals) {
    EXPECT_EQ(VersionText(0), L"0.0.0.0");
    EXPECT_EQ(VersionText(0xFFFF000100020003ull), L"65535.1.2.3");
}

}  // namespace
