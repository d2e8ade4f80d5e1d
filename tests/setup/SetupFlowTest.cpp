// The installer's rules as plain functions: sizes, the install folder, the free-space check.
#include <gtest/gtest.h>

#include "setup/flow/DiskSpace.h"
#include "setup/flow/InstallFolder.h"

using namespace setup;

namespace {

TEST(FormatSize, TruncatesToHundredthsInTheLargestUnitUpToGigabytes) {
    EXPECT_EQ(FormatSize(0), L"0.00 B");
    EXPECT_EQ(FormatSize(1023), L"1023.00 B");
    EXPECT_EQ(FormatSize(1024), L"1.00 KB");
    EXPECT_EQ(FormatSize(1536), L"1.50 KB");
    EXPECT_EQ(FormatSize(1048575), L"1023.99 KB");  // truncated, never rounded up to 1024.00
    EXPECT_EQ(FormatSize(12829210), L"12.23 MB");
    EXPECT_EQ(FormatSize(3ull << 40), L"3072.00 GB");  // no unit above GB
}

TEST(InstallFolder, EarlierUninstallStringGivesItsFolder) {
    EXPECT_EQ(FolderFromUninstallString(L"D:\\Games\\Nightcap\\Uninstall.exe"), L"D:\\Games\\Nightcap");
    EXPECT_EQ(FolderFromUninstallString(L"Uninstall.exe"), L"");  // no backslash: not an earlier folder
    EXPECT_EQ(FolderFromUninstallString(L""), L"");
}

TEST(InstallFolder, DefaultIsUnderProgramFilesOrTheFixedFallback) {
    EXPECT_EQ(DefaultInstallFolder(L"C:\\Program Files", L"Nightcap"), L"C:\\Program Files\\Nightcap");
    EXPECT_EQ(DefaultInstallFolder(L"D:\\Apps\\", L"Nightcap"), L"D:\\Apps\\Nightcap");
    EXPECT_EQ(DefaultInstallFolder(L"", L"Nightcap"), L"C:\\Program Files\\Nightcap");
}

TEST(InstallFolder, BrowsedFolderGetsTheNameWithoutDoublingADriveRootBackslash) {
    EXPECT_EQ(FolderUnder(L"E:\\", L"Nightcap"), L"E:\\Nightcap");
    EXPECT_EQ(FolderUnder(L"E:\\Tools", L"Nightcap"), L"E:\\Tools\\Nightcap");
}

TEST(InstallFolder, TrailingBackslashIsAddedOnce) {
    EXPECT_EQ(WithTrailingBackslash(L"D:\\Tools\\Nightcap"), L"D:\\Tools\\Nightcap\\");
    EXPECT_EQ(WithTrailingBackslash(L"D:\\Tools\\Nightcap\\"), L"D:\\Tools\\Nightcap\\");
}

class DiskSpaceCheck : public ::testing::Test {
protected:
    DiskCheck Check(const std::wstring& folder, uint32_t required) {
        return CheckDiskSpace(folder, required, [this](const std::wstring& root) -> std::optional<uint64_t> {
            askedRoot = root;
            return freeBytes;
        });
    }
    std::optional<uint64_t> freeBytes = 5000;
    std::wstring askedRoot;
};

TEST_F(DiskSpaceCheck, AcceptsOnlyWhenFreeSpaceIsStrictlyAboveTheNeed) {
    DiskCheck ok = Check(L"D:\\Games\\Nightcap", 4999);
    EXPECT_TRUE(ok.accepted);
    EXPECT_EQ(askedRoot, L"D:\\");
    EXPECT_EQ(ok.text, L"所需空间: 4.88 KB (磁盘剩余空间: 4.88 KB)");

    DiskCheck equal = Check(L"D:\\Games\\Nightcap", 5000);
    EXPECT_FALSE(equal.accepted);
    EXPECT_EQ(equal.text, L"所选目录无法安装，请选择其它目录");
}

TEST_F(DiskSpaceCheck, RefusesShortTextWithoutAskingAndUnreadableDrives) {
    EXPECT_FALSE(Check(L"C:", 0).accepted);
    EXPECT_TRUE(askedRoot.empty());
    EXPECT_TRUE(Check(L"C:\\", 0).accepted);
    EXPECT_EQ(askedRoot, L"C:\\");

    freeBytes.reset();
    EXPECT_FALSE(Check(L"Q:\\Nightcap", 0).accepted);
}

TEST_F(DiskSpaceCheck, ComparesInSixtyFourBits) {
    freeBytes = (1ull << 32) + 1;  // above any 32-bit need although its low half is 1
    EXPECT_TRUE(Check(L"C:\\x", 0xFFFFFFFFu).accepted);
    EXPECT_NE(Check(L"C:\\x", 0xFFFFFFFFu).text.find(L"(磁盘剩余空间: 4.00 GB)"), std::wstring::npos);
}

}  // namespace
