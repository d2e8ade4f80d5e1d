// Finding and ending copies of the installed program by the whole path of their main module.
#include <gtest/gtest.h>

#include <cwctype>

#include "setup/flow/RunningProgram.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TempFolder.h"

using namespace setup;

namespace {

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// Stand-ins for the program: copies of the uninstaller, which wait at their question until ended.
TEST(RunningProgram, OnlyCopiesFromTheChosenFolderAreFoundAndAllOfThemAreEnded) {
    TempFolder temp;
    const std::wstring chosen = temp / L"chosen\\Nightcap.exe";
    const std::wstring other = temp / L"other\\Nightcap.exe";
    for (const std::wstring& sub : {L"chosen", L"other"}) CreateDirectoryW((temp / sub).c_str(), nullptr);
    ASSERT_TRUE(CopyFileTo(BuildFolder() + L"\\Uninstall.exe", chosen));
    ASSERT_TRUE(CopyFileTo(BuildFolder() + L"\\Uninstall.exe", other));

    Program elsewhere;
    ASSERT_TRUE(elsewhere.Start(other));
    EXPECT_FALSE(FindRunningProgram(chosen, false));  // same name, another folder

    Program first, second;
    ASSERT_TRUE(first.Start(chosen));
    ASSERT_TRUE(second.Start(chosen));
    EXPECT_TRUE(FindRunningProgram(Upper(chosen), false));  // case does not matter
    EXPECT_TRUE(first.Running() && second.Running());        // looking ends nothing

    EXPECT_FALSE(FindRunningProgram(chosen, true));  // ending visits every process and reports none
    EXPECT_TRUE(first.WaitExit(5000));
    EXPECT_TRUE(second.WaitExit(5000));
    EXPECT_TRUE(elsewhere.Running());
    EXPECT_FALSE(FindRunningProgram(chosen, false));
}

}  // namespace
